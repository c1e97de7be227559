// driver_runner.cpp: starting drovana-script from the tests and reading what it prints.
#include "driver_runner.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace {

// Single quotes keep every character as it is; a quote inside closes, escapes and reopens.
std::string shellQuoted(const std::string& word) {
    std::string out = "'";
    for (char c : word)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

int exitStatusOf(int waitStatus) {
    return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
}

} // namespace

std::string driverPath() {
    return std::string(DROVANA_BUILD_DIR) + "/drovana-script";
}

std::string e2eScript(const std::string& name) {
    return std::string(DROVANA_E2E_DIR) + "/" + name;
}

std::vector<Json> DriverRun::states() const {
    std::vector<Json> out;
    for (const std::string& line : lines)
        if (!line.empty() && line[0] == '{')
            out.push_back(Json::parse(line));
    return out;
}

DriverRun runDriver(const std::vector<std::string>& arguments, const std::string& scriptPath,
                    const std::string& shellPrefix) {
    TempDir outputs;
    std::string command = shellPrefix + " " + shellQuoted(driverPath());
    for (const std::string& a : arguments)
        command += " " + shellQuoted(a);
    command += " " + shellQuoted(scriptPath) + " >" + shellQuoted(outputs.file("out")) + " 2>" +
               shellQuoted(outputs.file("err"));
    DriverRun run;
    run.status = exitStatusOf(std::system(("sh -c " + shellQuoted(command)).c_str()));
    std::istringstream out(readWhole(outputs.file("out")));
    for (std::string line; std::getline(out, line);)
        run.lines.push_back(line);
    run.errors = readWhole(outputs.file("err"));
    return run;
}

DriverRun runDriverText(const std::vector<std::string>& arguments, const std::string& script) {
    TempDir folder;
    std::ofstream(folder.file("test.script")) << script;
    return runDriver(arguments, folder.file("test.script"));
}

void startDriver(DriverProcess& driver, const std::vector<std::string>& arguments) {
    int input[2], output[2];
    if (pipe(input) != 0 || pipe(output) != 0)
        throw std::runtime_error("no pipe for the driver");
    std::signal(SIGPIPE, SIG_IGN); // a driver that ended early shows in its status, not here
    driver.pid = fork();
    if (driver.pid == 0) {
        dup2(input[0], 0);
        dup2(output[1], 1);
        close(input[0]);
        close(input[1]);
        close(output[0]);
        close(output[1]);
        std::vector<std::string> words = {driverPath()};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& w : words)
            argv.push_back(w.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(input[0]);
    close(output[1]);
    driver.toDriver = input[1];
    driver.fromDriver = fdopen(output[0], "r");
}

void sendCommand(DriverProcess& driver, const std::string& line) {
    const std::string text = line + "\n";
    if (write(driver.toDriver, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
        throw std::runtime_error("the driver no longer reads: " + line);
}

std::string readLine(DriverProcess& driver) {
    char* line = nullptr;
    size_t capacity = 0;
    const ssize_t length = getline(&line, &capacity, driver.fromDriver);
    const std::string text = length > 0 ? std::string(line, static_cast<size_t>(length)) : "";
    std::free(line);
    if (text.empty())
        throw std::runtime_error("the driver printed nothing more");
    return text;
}

Json readState(DriverProcess& driver) {
    sendCommand(driver, "state");
    return Json::parse(readLine(driver));
}

DriverProcess::~DriverProcess() {
    finishDriver(*this);
}

int finishDriver(DriverProcess& driver) {
    if (driver.toDriver >= 0)
        close(driver.toDriver);
    driver.toDriver = -1;
    int status = 0;
    if (driver.pid > 0)
        waitpid(driver.pid, &status, 0);
    driver.pid = -1;
    if (driver.fromDriver)
        std::fclose(driver.fromDriver);
    driver.fromDriver = nullptr;
    return exitStatusOf(status);
}

Json tapAndExpect(DriverProcess& driver, const std::string& tap, const std::string& screen) {
    sendCommand(driver, tap);
    const Json state = readState(driver);
    EXPECT_EQ(state["screen"], screen) << "after " << tap;
    return state;
}

Json playWhileOn(DriverProcess& driver, const std::string& playing, int seconds) {
    Json state = readState(driver);
    for (int waited = 0; waited < 6 * 3600 && state["screen"] == playing; waited += seconds) {
        sendCommand(driver, "wait " + std::to_string(seconds));
        state = readState(driver);
    }
    return state;
}
