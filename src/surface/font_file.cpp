#include "surface/font_file.h"

#include <filesystem>
#include <fstream>
#include <utility>

#if __has_include(<sys/mman.h>) && !defined(__EMSCRIPTEN__)
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
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
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return {};
#ifdef KANSU_MAP_FILES
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd >= 0) {
        struct stat info {};
        void* address = MAP_FAILED;
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 &&
            static_cast<std::uintmax_t>(info.st_size) <= largestFont)
            address = ::mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ,
                             MAP_PRIVATE, fd, 0);
        ::close(fd);
        if (address != MAP_FAILED) {
            FontFile file;
            file.mapped_ = static_cast<const unsigned char*>(address);
            file.mappedSize_ = static_cast<std::size_t>(info.st_size);
            return file;
        }
    }
#endif
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        return {};
    const std::streamoff size = in.tellg();
    if (size <= 0 || static_cast<std::uintmax_t>(size) > largestFont)
        return {};
    std::vector<unsigned char> bytes(static_cast<std::size_t>(size));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size))
        return {};
    return FontFile(std::move(bytes));
}

FontFile::FontFile(FontFile&& other) noexcept
    : owned_(std::move(other.owned_)), mapped_(std::exchange(other.mapped_, nullptr)),
      mappedSize_(std::exchange(other.mappedSize_, 0)) {}

FontFile& FontFile::operator=(FontFile&& other) noexcept {
    if (this != &other) {
        unmap();
        owned_ = std::move(other.owned_);
        mapped_ = std::exchange(other.mapped_, nullptr);
        mappedSize_ = std::exchange(other.mappedSize_, 0);
    }
    return *this;
}

FontFile::~FontFile() {
    unmap();
}

void FontFile::unmap() {
#ifdef KANSU_MAP_FILES
    if (mapped_)
        ::munmap(const_cast<unsigned char*>(mapped_), mappedSize_);
#endif
    mapped_ = nullptr;
    mappedSize_ = 0;
}

std::span<const unsigned char> FontFile::bytes() const {
    if (mapped_)
        return {mapped_, mappedSize_};
    return {owned_.data(), owned_.size()};
}

} // namespace kansu
