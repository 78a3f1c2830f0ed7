// Audio that arrives on a pipe, kept in memory so that libsndfile can seek in it as in a
// file: every format it reads from a file, it then reads from standard input too.
#pragma once

#include <sndfile.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

class MemoryStream {
  public:
    /// All that `from` holds until its end; null with the reason when reading fails.
    static std::unique_ptr<MemoryStream> readAll(std::FILE* from, std::string& error);

    /// Callbacks for sf_open_virtual, with `this` as their user data.
    SF_VIRTUAL_IO* callbacks();

  private:
    static sf_count_t length(void* self);
    static sf_count_t seek(sf_count_t offset, int whence, void* self);
    static sf_count_t read(void* to, sf_count_t count, void* self);
    static sf_count_t write(const void* from, sf_count_t count, void* self);
    static sf_count_t tell(void* self);

    std::vector<unsigned char> bytes;
    sf_count_t position = 0;
    SF_VIRTUAL_IO io{};
};
