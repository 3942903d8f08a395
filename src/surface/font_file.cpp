#include "surface/font_file.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <utility>

#if __has_include(<sys/mman.h>) && !defined(__EMSCRIPTEN__)
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#define KANSU_MAP_FILES 1
#endif

namespace kansu {

namespace {
// No font the lesson could use is near this size; a file that is, is something else.
constexpr std::uintmax_t largestFont = 64u << 20;
} // namespace

FontFile FontFile::open(const std::string& path) {
    // Only a regular file: a folder, a pipe or a device in its place is no font.
    struct stat named {};
    if (::stat(path.c_str(), &named) != 0 || !S_ISREG(named.st_mode))
        return {};
#ifdef KANSU_MAP_FILES
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd >= 0) {
        struct stat info {};
        void* address = MAP_FAILED;
        // Memory of the lesson's own as large as the file, taken up only where a part is held:
        // not the file's pages mapped, which a file cut short takes away even once copied.
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 &&
            static_cast<std::uintmax_t>(info.st_size) <= largestFont)
            address =
                ::mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (address != MAP_FAILED) {
            FontFile file;
            file.mapped_ = static_cast<unsigned char*>(address);
            file.mappedSize_ = static_cast<std::size_t>(info.st_size);
            file.descriptor_ = fd;
            return file;
        }
        ::close(fd);
    }
#endif
    // Read whole where the file cannot be mapped.
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (!in)
        return {};
    std::vector<unsigned char> bytes;
    unsigned char chunk[1 << 16];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, in)) > 0;) {
        bytes.insert(bytes.end(), chunk, chunk + got);
        if (bytes.size() > largestFont)
            break;
    }
    const bool failed = std::ferror(in) != 0;
    std::fclose(in);
    if (failed || bytes.empty() || bytes.size() > largestFont)
        return {};
    return FontFile(std::move(bytes));
}

FontFile::FontFile(FontFile&& other) noexcept
    : owned_(std::move(other.owned_)), mapped_(std::exchange(other.mapped_, nullptr)),
      mappedSize_(std::exchange(other.mappedSize_, 0)),
      descriptor_(std::exchange(other.descriptor_, -1)) {}

FontFile& FontFile::operator=(FontFile&& other) noexcept {
    if (this != &other) {
        unmap();
        owned_ = std::move(other.owned_);
        mapped_ = std::exchange(other.mapped_, nullptr);
        mappedSize_ = std::exchange(other.mappedSize_, 0);
        descriptor_ = std::exchange(other.descriptor_, -1);
    }
    return *this;
}

FontFile::~FontFile() {
    unmap();
}

void FontFile::unmap() {
#ifdef KANSU_MAP_FILES
    if (mapped_)
        ::munmap(mapped_, mappedSize_);
    if (descriptor_ >= 0)
        ::close(descriptor_);
#endif
    mapped_ = nullptr;
    mappedSize_ = 0;
    descriptor_ = -1;
}

bool FontFile::hold(std::uint64_t offset, std::uint64_t length) {
    const std::uint64_t size = bytes().size();
    if (offset > size || length > size - offset)
        return false;
    if (!mapped_)
        return true; // read whole: held from the start
#ifdef KANSU_MAP_FILES
    // Read afresh from the file into the mapping: what the file holds now, or less when it has
    // been cut short since, which is then no part to read.
    while (length > 0) {
        const ssize_t got = ::pread(descriptor_, mapped_ + offset, static_cast<std::size_t>(length),
                                    static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        offset += static_cast<std::uint64_t>(got);
        length -= static_cast<std::uint64_t>(got);
    }
#endif
    return true;
}

std::span<const unsigned char> FontFile::bytes() const {
    if (mapped_)
        return {mapped_, mappedSize_};
    return {owned_.data(), owned_.size()};
}

} // namespace kansu
