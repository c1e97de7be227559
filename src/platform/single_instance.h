// single_instance.h: one running game per user; a second start brings the first to the front.
#pragma once

#include <string>

struct SingleInstance {
    int lockDescriptor = -1;
    int listenDescriptor = -1;
    std::string socketPath;
};

// True when this process is the only instance (it then holds the lock and listens for a
// later start). False when another instance runs: it has been asked to raise its window.
bool singleInstanceAcquire(SingleInstance& instance, const std::string& folder);
// True when a later start asked this instance to come to the front since the last call.
bool singleInstanceRaiseRequested(SingleInstance& instance);
void singleInstanceRelease(SingleInstance& instance);

// The user's runtime folder for the lock and the socket.
std::string runtimeFolder();
