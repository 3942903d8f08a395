#pragma once

#include <span>
#include <string>
#include <vector>

namespace kansu {

// The bytes of a font file. Mapped into memory where the system can, so that only the parts the
// text needs are ever read; read whole elsewhere (the browser's file system).
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

    std::span<const unsigned char> bytes() const;
    bool empty() const { return bytes().empty(); }

private:
    void unmap();

    std::vector<unsigned char> owned_;
    const unsigned char* mapped_ = nullptr;
    std::size_t mappedSize_ = 0;
};

} // namespace kansu
