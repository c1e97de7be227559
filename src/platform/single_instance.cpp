// single_instance.cpp: a lock file and a local socket in the user's runtime folder.
#include "platform/single_instance.h"

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

bool fillAddress(sockaddr_un& address, const std::string& path) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

void askRunningInstanceToRaise(const std::string& socketPath) {
    sockaddr_un address;
    if (!fillAddress(address, socketPath))
        return;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
        (void)!::write(fd, "raise", 5);
    ::close(fd);
}

int listenOn(const std::string& socketPath) {
    sockaddr_un address;
    if (!fillAddress(address, socketPath))
        return -1;
    ::unlink(socketPath.c_str()); // left by an instance that crashed; we hold the lock now
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, 4) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

std::string runtimeFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime)
        return runtime;
    return "/tmp";
}

bool singleInstanceAcquire(SingleInstance& instance, const std::string& folder) {
    const std::string lockPath = folder + "/drovana-" + std::to_string(::getuid()) + ".lock";
    instance.socketPath = folder + "/drovana-" + std::to_string(::getuid()) + ".sock";
    instance.lockDescriptor = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (instance.lockDescriptor < 0)
        return true; // cannot tell: better to run twice than not at all
    if (::flock(instance.lockDescriptor, LOCK_EX | LOCK_NB) != 0) {
        ::close(instance.lockDescriptor);
        instance.lockDescriptor = -1;
        askRunningInstanceToRaise(instance.socketPath);
        return false;
    }
    instance.listenDescriptor = listenOn(instance.socketPath);
    return true;
}

bool singleInstanceRaiseRequested(SingleInstance& instance) {
    if (instance.listenDescriptor < 0)
        return false;
    bool requested = false;
    for (;;) {
        const int client = ::accept4(instance.listenDescriptor, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            break;
        requested = true;
        ::close(client);
    }
    return requested;
}

void singleInstanceRelease(SingleInstance& instance) {
    if (instance.listenDescriptor >= 0) {
        ::close(instance.listenDescriptor);
        ::unlink(instance.socketPath.c_str());
    }
    if (instance.lockDescriptor >= 0)
        ::close(instance.lockDescriptor); // closing drops the lock
    instance = SingleInstance{};
}
