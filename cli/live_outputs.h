// Where the lines of a live run go: the CSV and the raw records, each to standard output
// or to a file, gathered and written a batch at a time.
//
// The raw records are written exactly as they came, each followed by CR LF, as the
// window's log keeps them; the CSV is written as the window writes its logs, each line
// feed stored as CR LF. An output that fails once is dropped: what it still gathers is
// discarded, and the other output goes on.
#pragma once

#include <string>

class LiveOutput {
  public:
    enum class Form { Csv, Raw };

    // Empty path or "-": standard output. False, with why, when the file cannot be one.
    bool open(const std::string& path, Form form, std::string& problem);
    void add(const std::string& line);
    // The raw form: `count` characters as they came, then the line end.
    void addRecord(const char* characters, size_t count);
    // Writes what gathered once a batch has (or at once); false, with why, on the write
    // that fails.
    bool write(bool now, std::string& problem);
    bool failed() const { return failed_; }
    // The file closed, the lines go on into a new one at `path`, of the same form; what
    // gathered must have been written. A file that cannot be opened fails the output.
    bool reopen(const std::string& path, std::string& problem);
    const std::string& path() const { return path_; }
    void close();

  private:
    std::string path_;
    Form form_ = Form::Csv;
    int handle_ = -1;
    std::string pending_;
    double written_ = 0;
    bool failed_ = false;
};

// True when the two paths reach one file: the same name, or links (symbolic or hard) to one
// file, or a symbolic link to a file not there yet that the other names.
bool sameFile(const std::string& a, const std::string& b);
