// The pseudo-terminal that stands in for the instrument's serial port.
//
// The master side is ours; the tool opens the slave path as its serial port. We keep a
// slave descriptor open ourselves for as long as we run, so the terminal survives the tool
// closing and reopening the port (no hang-up, no EIO on the master in between), and so the
// raw mode set here sticks until the tool sets its own.
#pragma once

#include <string>

class PtyPort {
  public:
    // Opens the pair; on failure `ok()` is false and `error()` says why.
    PtyPort();
    ~PtyPort();
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;

    bool ok() const { return master_ >= 0; }
    const std::string& error() const { return error_; }
    const std::string& slavePath() const { return slavePath_; }
    int masterFd() const { return master_; }

    // Keeps a symbolic link at `path` to the slave (an old file there is replaced); it is
    // removed again when the port closes.
    bool link(const std::string& path);
    // Closes our side of the terminal for good, as a cable pulled out: the tool's side then
    // reads a hang-up. The link goes too.
    void hangUp();

  private:
    bool fail(const std::string& what);

    int master_ = -1;
    int heldSlave_ = -1;
    std::string slavePath_;
    std::string linkPath_;
    std::string error_;
};
