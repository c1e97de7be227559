// driver_runner.h: runs the built drovana-script for end-to-end tests, whole scripts at once or
// one command at a time through pipes.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <sys/types.h>
#include <vector>

using Json = nlohmann::ordered_json;

std::string driverPath();
// A script file of this folder.
std::string e2eScript(const std::string& name);

struct DriverRun {
    int status = -1;                // the exit status, or -1 when the driver did not exit normally
    std::vector<std::string> lines; // standard output
    std::string errors;             // standard error
    // The JSON lines of standard output that hold a state record.
    std::vector<Json> states() const;
};

// Runs the driver on a script file with extra arguments (each passed as one word). A prefix
// runs before the driver in the same shell (limits, privileges).
DriverRun runDriver(const std::vector<std::string>& arguments, const std::string& scriptPath,
                    const std::string& shellPrefix = "");
// The same with the script's text given here.
DriverRun runDriverText(const std::vector<std::string>& arguments, const std::string& script);

// A driver reading commands as they are sent, for play that depends on what happened. However
// the test ends, its input is closed and the process waited for.
struct DriverProcess {
    pid_t pid = -1;
    int toDriver = -1;
    FILE* fromDriver = nullptr;
    DriverProcess() = default;
    DriverProcess(const DriverProcess&) = delete;
    DriverProcess& operator=(const DriverProcess&) = delete;
    ~DriverProcess();
};

void startDriver(DriverProcess& driver, const std::vector<std::string>& arguments);
// Sends one command line.
void sendCommand(DriverProcess& driver, const std::string& line);
// The next line the driver printed, with its line end.
std::string readLine(DriverProcess& driver);
// Sends `state` and reads its line.
Json readState(DriverProcess& driver);
// Closes the driver's input and waits: its exit status, or -1.
int finishDriver(DriverProcess& driver);
// Sends a tap and expects the game on `screen` after it; the state then.
Json tapAndExpect(DriverProcess& driver, const std::string& tap, const std::string& screen);
// Plays on in waits of `seconds` of game time while the screen is `playing` (six hours at most);
// the last state seen.
Json playWhileOn(DriverProcess& driver, const std::string& playing, int seconds = 20);
