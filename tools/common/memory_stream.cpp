#include "tools/common/memory_stream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

std::unique_ptr<MemoryStream> MemoryStream::readAll(std::FILE* from, std::string& error) {
    auto stream = std::make_unique<MemoryStream>();
    unsigned char chunk[1 << 16];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof(chunk), from)) > 0;) {
        stream->bytes.insert(stream->bytes.end(), chunk, chunk + got);
    }
    if (std::ferror(from)) {
        error = std::string("reading standard input failed: ") + std::strerror(errno);
        return nullptr;
    }
    return stream;
}

SF_VIRTUAL_IO* MemoryStream::callbacks() {
    io = {length, seek, read, write, tell};
    return &io;
}

sf_count_t MemoryStream::length(void* self) {
    return static_cast<sf_count_t>(static_cast<MemoryStream*>(self)->bytes.size());
}

sf_count_t MemoryStream::seek(sf_count_t offset, int whence, void* self) {
    auto* stream = static_cast<MemoryStream*>(self);
    const sf_count_t base = whence == SEEK_CUR   ? stream->position
                            : whence == SEEK_END ? length(self)
                                                 : 0;
    stream->position = std::clamp<sf_count_t>(base + offset, 0, length(self));
    return stream->position;
}

sf_count_t MemoryStream::read(void* to, sf_count_t count, void* self) {
    auto* stream = static_cast<MemoryStream*>(self);
    const sf_count_t available = std::min(count, length(self) - stream->position);
    std::memcpy(to, stream->bytes.data() + stream->position, static_cast<std::size_t>(available));
    stream->position += available;
    return available;
}

sf_count_t MemoryStream::write(const void*, sf_count_t, void*) {
    return 0;  // read only
}

sf_count_t MemoryStream::tell(void* self) {
    return static_cast<MemoryStream*>(self)->position;
}
