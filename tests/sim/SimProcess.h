#pragma once

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace korvel::testing {

// korvel-sim started for a test: it runs until the test ends (its standard input is closed) and
// serves the water-level logger on the pseudo-terminal path().
class SimProcess {
public:
    // The simulator beside the running test program (both are built into build/bin).
    static std::filesystem::path program() {
        std::error_code ec;
        const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
        return self.parent_path() / "korvel-sim";
    }
    static bool available() { return std::filesystem::exists(program()); }

    explicit SimProcess(std::vector<std::string> args) {
        int in[2];
        int out[2];
        if (::pipe(in) != 0 || ::pipe(out) != 0)
            return;
        args.insert(args.begin(), {program().string(), "--until-stdin-closes"});
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, in[1]);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        if (::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(in[0]);
        ::close(out[1]);
        stdin_ = in[1];
        // The first line is the device path.
        char c;
        while (::read(out[0], &c, 1) == 1 && c != '\n')
            path_.push_back(c);
        ::close(out[0]);
    }
    ~SimProcess() {
        if (stdin_ >= 0)
            ::close(stdin_);
        if (pid_ > 0) {
            int status = 0;
            for (int i = 0; i < 200 && ::waitpid(pid_, &status, WNOHANG) == 0; ++i)
                ::usleep(10000);
            if (::waitpid(pid_, &status, WNOHANG) == 0) {
                ::kill(pid_, SIGTERM);
                ::waitpid(pid_, &status, 0);
            }
        }
    }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    const std::string& path() const { return path_; }
    bool running() const { return pid_ > 0 && !path_.empty(); }

private:
    pid_t pid_ = -1;
    int stdin_ = -1;
    std::string path_;
};

} // namespace korvel::testing
