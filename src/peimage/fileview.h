#pragma once
// A read-only view of a whole file: mapped with mmap, or read into memory when the file
// cannot be mapped. The bytes stay valid and unchanged for the life of the view.

#include <memory>
#include <string>

#include "base/stream.h"

namespace fw::pe {

class FileView {
public:
    // Opens path and maps it. Only regular files are taken: a folder, a pipe or a device
    // is refused without reading from it, so that opening one can neither block nor read
    // endlessly. Returns nullptr when the file cannot be opened, mapped or read, with the
    // system's reason in *why when why is given.
    static std::unique_ptr<FileView> Open(const std::string& path, std::string* why = nullptr);

    ~FileView();
    FileView(const FileView&) = delete;
    FileView& operator=(const FileView&) = delete;

    ByteSpan Bytes() const { return bytes_; }
    // True when the bytes come from a mapping rather than a copy of the file.
    bool IsMapped() const { return mapped_ != nullptr; }

private:
    FileView() = default;

    ByteSpan bytes_;
    void* mapped_ = nullptr;  // the mapping, or nullptr
    std::size_t mappedLength_ = 0;
    fw::Bytes copy_;  // the file's bytes when it could not be mapped
};

}  // namespace fw::pe
