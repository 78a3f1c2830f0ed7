// Runs the bundled host as a user does, and makes and reads the audio files it meters.
#pragma once

#include <map>
#include <string>
#include <vector>

/// What a run of pevo-host left: exit status (128 + signal when killed), both streams.
struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

/// Runs pevo-host with `arguments`; `fakeBehaviour`, if given, is handed to the fake plug-in.
ToolRun runTool(const std::vector<std::string>& arguments, const std::string& fakeBehaviour = "");
/// A path in this suite's build folder.
std::string scratchPath(const std::string& name);

/// Writes interleaved left-justified 32-bit samples as a libsndfile `format` file.
void writeIntegers(const std::string& path, int format, int channels, int rate,
                   const std::vector<int>& samples);
/// Writes interleaved samples of full scale 1 as a libsndfile `format` file.
void writeAudio(const std::string& path, int format, int channels, int rate,
                const std::vector<float>& samples);
/// Every sample of a file as left-justified 32-bit integers, and its format.
std::vector<int> readIntegers(const std::string& path, int& format);

/// The rows of CSV text below its header, as floats.
std::vector<std::vector<float>> csvRows(const std::string& text, std::string& header);
/// The fields of a one-line JSON object without nesting: name to text of the value.
std::map<std::string, std::string> jsonFields(const std::string& line);
/// The lines of `text`.
std::vector<std::string> lines(const std::string& text);

/// Runs `program` with `arguments`, its standard input read from `inputPath` if given.
ToolRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                   const std::string& inputPath = "");
