#pragma once

#include <string>
#include <string_view>

namespace m3d {

// A buffered writer on an open file descriptor (not owned). Small writes are
// gathered in a 256 KiB buffer; a write failure is remembered and every later
// write does nothing, so a producer may check Ok() only now and then.
class FileSink {
public:
    explicit FileSink(int fd);
    FileSink(const FileSink&) = delete;
    FileSink& operator=(const FileSink&) = delete;

    // Appends bytes; false once anything failed.
    bool Write(std::string_view bytes);
    // Writes out what is buffered; false once anything failed.
    bool Flush();
    bool Ok() const { return writeErrno == 0 && refusal.empty(); }

    // A producer that decides not to finish the file says why (shown after
    // the file's path); the file is then not written.
    void Refuse(const std::string& reason) { refusal = reason; }
    const std::string& Refusal() const { return refusal; }
    // errno of the failed write; 0 when none failed.
    int WriteErrno() const { return writeErrno; }

private:
    bool WriteOut(const char* data, size_t size);

    int fd;
    std::string buffer;
    int writeErrno = 0;
    std::string refusal;
};

}  // namespace m3d
