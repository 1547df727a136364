// Command lines of the designers' tools: required positional arguments followed by "--name"
// options, all described by one table, so that the usage text is written from the table that
// parses.
// "--help" (or "-h") anywhere asks for the usage text. Header-only: every tools/*.cpp is a tool of
// its own, and each includes this.
#pragma once

#include <algorithm>
#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "meta/assets.h"

namespace tools {

struct Option {
    std::string name;         // "--frames"
    std::string placeholder;  // what its value is ("<count>"); empty for a switch
    std::string help;         // one line
    // Takes the value (empty for a switch); returns the problem with it, or an empty string.
    std::function<std::string(const std::string& value)> apply;
};

class CommandLine {
public:
    enum class Outcome { Run, Help, Error };

    CommandLine(std::string tool, std::vector<std::string> positionals)
        : tool_(std::move(tool)), positionals_(std::move(positionals)) {}

    void Add(Option option) { options_.push_back(std::move(option)); }
    // A switch: "--name" alone sets `flag`.
    void AddSwitch(std::string name, std::string help, bool& flag) {
        Add({std::move(name), "", std::move(help), [&flag](const std::string&) {
                 flag = true;
                 return std::string();
             }});
    }

    // Reads argv[1..]: the positionals in order (stored into `values`), then options. On Error
    // the problem has been written to `err` as one line starting with the tool's name.
    Outcome Parse(int argc, char** argv, std::vector<std::string>& values,
                  std::ostream& err) const {
        values.clear();
        for (int i = 1; i < argc; ++i) {
            const std::string arg = argv[i];
            if (arg == "--help" || arg == "-h") {
                return Outcome::Help;
            }
        }
        for (int i = 1; i < argc; ++i) {
            const std::string arg = argv[i];
            if (arg.rfind("--", 0) != 0) {
                if (values.size() == positionals_.size()) {
                    return Fail(err, "unexpected argument \"" + arg + "\"");
                }
                values.push_back(arg);
                continue;
            }
            const Option* option = Find(arg);
            if (!option) {
                return Fail(err, "unknown option " + arg);
            }
            std::string value;
            if (!option->placeholder.empty()) {
                if (i + 1 >= argc) {
                    return Fail(err, arg + " needs " + option->placeholder);
                }
                value = argv[++i];
            }
            if (std::string problem = option->apply(value); !problem.empty()) {
                return Fail(err, arg + ": " + problem);
            }
        }
        if (values.size() < positionals_.size()) {
            return Fail(err, "missing " + positionals_[values.size()]);
        }
        return Outcome::Run;
    }

    // The start every tool shares, for tools whose first positional is the assets folder: parses,
    // prints the usage for --help, checks that the folder exists and makes it the assets root.
    // Returns the exit status to end with at once (0 for --help, 2 for a usage error or a missing
    // folder), or nothing when the tool should run.
    std::optional<int> StartWithAssets(int argc, char** argv,
                                       std::vector<std::string>& values) const {
        switch (Parse(argc, argv, values, std::cerr)) {
            case Outcome::Help:
                std::cout << Usage();
                return 0;
            case Outcome::Error:
                return 2;
            case Outcome::Run:
                break;
        }
        if (!std::filesystem::is_directory(values[0])) {
            std::cerr << tool_ << ": no assets folder \"" << values[0] << "\"\n";
            return 2;
        }
        Assets::SetRoot(values[0]);
        return std::nullopt;
    }

    std::string Usage() const {
        std::ostringstream out;
        out << "usage: " << tool_;
        for (const std::string& positional : positionals_) {
            out << ' ' << positional;
        }
        out << " [options]\n";
        auto line = [&out](std::string left, const std::string& help) {
            left.resize(std::max<std::size_t>(left.size() + 2, 24), ' ');
            out << "  " << left << help << '\n';
        };
        for (const Option& option : options_) {
            line(option.placeholder.empty() ? option.name : option.name + ' ' + option.placeholder,
                 option.help);
        }
        line("--help", "print this text");
        return out.str();
    }

private:
    const Option* Find(const std::string& name) const {
        for (const Option& option : options_) {
            if (option.name == name) {
                return &option;
            }
        }
        return nullptr;
    }

    Outcome Fail(std::ostream& err, const std::string& problem) const {
        err << tool_ << ": " << problem << '\n' << Usage();
        return Outcome::Error;
    }

    std::string tool_;
    std::vector<std::string> positionals_;
    std::vector<Option> options_;
};

}  // namespace tools
