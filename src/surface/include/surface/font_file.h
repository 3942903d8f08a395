#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kansu {

// The bytes of a font file. Where the system can, only the parts the text needs are ever read:
// each part is held before it is read, copied from the file into memory of the lesson's own, laid
// out as in the file, where no later change of the file (copied over, cut short, on a stick
// pulled out) reaches it. (A mapped file would give the lesson a bus error, or change the bytes
// already checked under it.) Read whole elsewhere (the browser's file system), where everything
// is held from the start.
class FontFile {
public:
    FontFile() = default;
    explicit FontFile(std::vector<unsigned char> bytes) : owned_(std::move(bytes)) {}
    // An empty file when the path cannot be read.
    static FontFile open(const std::string& path);

    FontFile(FontFile&& other) noexcept;
    FontFile& operator=(FontFile&& other) noexcept;
    FontFile(const FontFile&) = delete;
    FontFile& operator=(const FontFile&) = delete;
    ~FontFile();

    // The file as it was opened; only the parts held may be read.
    std::span<const unsigned char> bytes() const;
    bool empty() const { return bytes().empty(); }

    // Holds [offset, offset + length) as the file has it now: false when the file no longer has
    // all of it (it has been cut short or taken away), and then those bytes must not be read.
    bool hold(std::uint64_t offset, std::uint64_t length);

private:
    void unmap();

    std::vector<unsigned char> owned_;
    unsigned char* mapped_ = nullptr;
    std::size_t mappedSize_ = 0;
    int descriptor_ = -1;
};

} // namespace kansu
