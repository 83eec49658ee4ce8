// The bare reference client: the instrument's terminal through termios, no GUI, no
// toolkit. Its exchanges take what the protocol itself asks for (the pauses, the bytes on
// the wire, the replies' transfer), so the tool's time over its time is the tool's overhead.
#pragma once

#include <string>

class ReferenceLine {
  public:
    explicit ReferenceLine(std::string path) : path_(std::move(path)) {}
    ~ReferenceLine() { close(); }
    ReferenceLine(const ReferenceLine&) = delete;
    ReferenceLine& operator=(const ReferenceLine&) = delete;

    // Raw 8N1 at 9600 baud, both queues emptied. False when the terminal cannot be used.
    bool open();
    void close();
    bool isOpen() const { return fd_ >= 0; }

    void pause(double seconds);
    void flush();  // input queue, then output queue
    void send(char byte);
    void send(const std::string& text);
    // Up to `count` characters; returns early only at the time-out.
    std::string read(int count, double timeoutSeconds = 3.0);

    // Notes an acknowledgement without the expected letter; healthy() stays false after one.
    bool expect(const std::string& ack, char letter);
    bool healthy() const { return healthy_; }

  private:
    std::string path_;
    int fd_ = -1;
    bool healthy_ = true;
};

// The write form of a read block text: its 129 characters, the checksum, upper case.
std::string blockWriteForm(const std::string& blockText);
