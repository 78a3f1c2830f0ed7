#include "tests/tools/tool_run.h"

#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

std::string fileText(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace

std::string scratchPath(const std::string& name) {
    return std::string(PEVO_SCRATCH_DIR) + "/" + name;
}

ToolRun runTool(const std::vector<std::string>& arguments, const std::string& fakeBehaviour) {
    // Output files per process: tests of this suite may run side by side.
    const std::string stem = scratchPath("run" + std::to_string(getpid()));
    const std::string outPath = stem + ".out";
    const std::string errPath = stem + ".err";
    std::vector<char*> argv;
    std::string tool = PEVO_HOST;
    argv.push_back(tool.data());
    std::vector<std::string> copies = arguments;
    for (std::string& argument : copies) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        if (!freopen(outPath.c_str(), "w", stdout) || !freopen(errPath.c_str(), "w", stderr)) {
            _exit(126);
        }
        if (!fakeBehaviour.empty()) {
            setenv("PEVO_FAKE_PLUGIN", fakeBehaviour.c_str(), 1);
        }
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return {code, fileText(outPath), fileText(errPath)};
}

namespace {

/// Writes interleaved `samples` through libsndfile's writer for their type.
template <typename Sample, typename Write>
void writeFrames(const std::string& path, int format, int channels, int rate,
                 const std::vector<Sample>& samples, Write write) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    const sf_count_t frames = static_cast<sf_count_t>(samples.size()) / channels;
    EXPECT_EQ(write(file, samples.data(), frames), frames);
    sf_close(file);
}

}  // namespace

void writeIntegers(const std::string& path, int format, int channels, int rate,
                   const std::vector<int>& samples) {
    writeFrames(path, format, channels, rate, samples, sf_writef_int);
}

void writeAudio(const std::string& path, int format, int channels, int rate,
                const std::vector<float>& samples) {
    if ((format & SF_FORMAT_SUBMASK) != SF_FORMAT_FLOAT) {
        // Scaled by 2^31 here: libsndfile would scale floats by 0x7FFF.
        std::vector<int> integers;
        for (const float sample : samples) {
            const double scaled = std::ldexp(static_cast<double>(sample), 31);
            integers.push_back(static_cast<int>(std::clamp(scaled, -2147483648.0, 2147483647.0)));
        }
        writeIntegers(path, format, channels, rate, integers);
        return;
    }
    writeFrames(path, format, channels, rate, samples, sf_writef_float);
}

std::vector<int> readIntegers(const std::string& path, int& format) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) {
        return {};
    }
    std::vector<int> samples(static_cast<std::size_t>(info.frames * info.channels));
    sf_readf_int(file, samples.data(), info.frames);
    sf_close(file);
    format = info.format;
    return samples;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::stringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        result.push_back(line);
    }
    return result;
}

std::vector<std::vector<float>> csvRows(const std::string& text, std::string& header) {
    std::vector<std::string> all = lines(text);
    header = all.empty() ? "" : all[0];
    std::vector<std::vector<float>> rows;
    for (std::size_t i = 1; i < all.size(); ++i) {
        std::vector<float> row;
        std::stringstream fields(all[i]);
        for (std::string field; std::getline(fields, field, ',');) {
            row.push_back(std::strtof(field.c_str(), nullptr));
        }
        rows.push_back(row);
    }
    return rows;
}

std::map<std::string, std::string> jsonFields(const std::string& line) {
    std::map<std::string, std::string> fields;
    std::size_t at = line.find('{');
    while (at != std::string::npos && at + 1 < line.size()) {
        const std::size_t nameStart = line.find('"', at + 1);
        if (nameStart == std::string::npos) {
            break;
        }
        const std::size_t nameEnd = line.find('"', nameStart + 1);
        const std::size_t valueStart = line.find(':', nameEnd) + 1;
        std::size_t valueEnd = line[valueStart] == '"' ? line.find('"', valueStart + 1) + 1
                                                       : line.find_first_of(",}", valueStart);
        fields[line.substr(nameStart + 1, nameEnd - nameStart - 1)] =
            line.substr(valueStart, valueEnd - valueStart);
        at = line.find_first_of(",}", valueEnd);
        if (at == std::string::npos || line[at] == '}') {
            break;
        }
    }
    return fields;
}

ToolRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                   const std::string& inputPath) {
    const std::string stem = scratchPath("program" + std::to_string(getpid()));
    std::vector<std::string> copies = arguments;
    copies.insert(copies.begin(), program);
    std::vector<char*> argv;
    for (std::string& argument : copies) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        const char* in = inputPath.empty() ? "/dev/null" : inputPath.c_str();
        if (!freopen(in, "r", stdin) || !freopen((stem + ".out").c_str(), "w", stdout) ||
            !freopen((stem + ".err").c_str(), "w", stderr)) {
            _exit(126);
        }
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return {code, fileText(stem + ".out"), fileText(stem + ".err")};
}
