// single_instance_windows.cpp: a named mutex for the one instance and a named event a later start
// sets to bring it to the front, both in the user's session.
#include "platform/single_instance.h"

#include <windows.h>

namespace {

// Session-local names: another user on the same machine runs a game of their own.
constexpr wchar_t kMutexName[] = L"Local\\drovana-single-instance";
constexpr wchar_t kRaiseEventName[] = L"Local\\drovana-raise";

// A kernel handle's value fits 32 bits on 64-bit Windows (so 32-bit processes can share them),
// which lets the record's descriptors hold them.
int toDescriptor(HANDLE handle) {
    return handle ? static_cast<int>(reinterpret_cast<intptr_t>(handle)) : -1;
}
HANDLE toHandle(int descriptor) {
    return reinterpret_cast<HANDLE>(static_cast<intptr_t>(descriptor));
}

} // namespace

std::string runtimeFolder() {
    return {}; // the names live in the session's namespace, not in a folder
}

bool singleInstanceAcquire(SingleInstance& instance, const std::string&) {
    HANDLE mutex = CreateMutexW(nullptr, TRUE, kMutexName);
    if (!mutex)
        return true; // cannot tell: better to run twice than not at all
    const bool another = GetLastError() == ERROR_ALREADY_EXISTS;
    HANDLE raise = CreateEventW(nullptr, FALSE, FALSE, kRaiseEventName);
    if (another) {
        if (raise) {
            SetEvent(raise);
            CloseHandle(raise);
        }
        CloseHandle(mutex);
        return false;
    }
    instance.lockDescriptor = toDescriptor(mutex);
    instance.listenDescriptor = toDescriptor(raise);
    return true;
}

bool singleInstanceRaiseRequested(SingleInstance& instance) {
    return instance.listenDescriptor >= 0 &&
           WaitForSingleObject(toHandle(instance.listenDescriptor), 0) == WAIT_OBJECT_0;
}

void singleInstanceRelease(SingleInstance& instance) {
    if (instance.listenDescriptor >= 0)
        CloseHandle(toHandle(instance.listenDescriptor));
    if (instance.lockDescriptor >= 0) {
        ReleaseMutex(toHandle(instance.lockDescriptor));
        CloseHandle(toHandle(instance.lockDescriptor));
    }
    instance = SingleInstance{};
}
