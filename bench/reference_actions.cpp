#include "bench/reference_actions.h"

namespace {

constexpr double kStep = 0.2;    // between a command and its replies
constexpr double kSettle = 0.5;  // before a read action, and after the block is sent
constexpr int kAck = 5;
constexpr int kBlockText = 129;
constexpr int kBlockWithChecksum = 131;

enum class Reread { None, AfterStep, Immediately };

// 'r', step, acknowledgement, step, then `count` characters of block text.
std::string readBlock(ReferenceLine& line, int count) {
    line.send('r');
    line.pause(kStep);
    line.expect(line.read(kAck), 'R');
    line.pause(kStep);
    return line.read(count);
}

// 'w', the write form of `text`, 'D', and the read-back the action asks for.
void writeBlock(ReferenceLine& line, const std::string& text, Reread reread) {
    const std::string form = blockWriteForm(text);
    line.flush();
    line.send('w');
    line.pause(kStep);
    line.expect(line.read(kAck), 'W');
    line.pause(kStep);
    line.send(form);
    line.pause(kSettle);
    line.expect(line.read(kAck), 'D');
    line.pause(kStep);
    if (reread == Reread::None)
        return;
    line.send('r');
    line.pause(kStep);
    line.read(kAck);
    if (reread == Reread::AfterStep)
        line.pause(kStep);
    line.read(kBlockText);
}

void wakeAndIdentify(ReferenceLine& line) {
    line.send('s');
    line.pause(0.1);
    line.send('t');
    line.pause(2.0);
    line.flush();
    line.send('i');
    line.expect(line.read(kAck), 'I');
    line.read(15);
    line.flush();
}

// The kx and qv panels show the block with its checksum and hold the panel a second.
void readForPanel(ReferenceLine& line) {
    line.pause(kSettle);
    line.flush();
    readBlock(line, kBlockWithChecksum);
    line.pause(kStep);
    line.pause(1.0);
}

}  // namespace

void referenceConnect(ReferenceLine& line) {
    line.open();
    wakeAndIdentify(line);
}

void referenceKxRead(ReferenceLine& line) {
    readForPanel(line);
}

void referenceKxSet(ReferenceLine& line) {
    line.pause(kSettle);
    line.flush();
    line.pause(kStep);
    writeBlock(line, readBlock(line, kBlockText), Reread::AfterStep);
}

void referenceQvRead(ReferenceLine& line) {
    readForPanel(line);
}

void referenceQvSet(ReferenceLine& line) {
    line.pause(kSettle);
    line.flush();
    writeBlock(line, readBlock(line, kBlockText), Reread::AfterStep);
}

void referenceClockRead(ReferenceLine& line) {
    line.pause(kSettle);
    line.flush();
    line.send('r');
    line.pause(kStep);
    line.read(kAck + kBlockText);
}

void referenceClockSet(ReferenceLine& line) {
    line.flush();
    line.send('r');
    line.read(kAck);
    line.pause(kStep);
    const std::string text = line.read(kBlockText);
    line.pause(kStep);
    writeBlock(line, text, Reread::Immediately);
}

void referenceStartRead(ReferenceLine& line) {
    line.pause(kSettle);
    line.flush();
    readBlock(line, kBlockText);
    line.pause(kStep);
}

void referenceStartSet(ReferenceLine& line) {
    line.flush();
    writeBlock(line, readBlock(line, kBlockText), Reread::None);
}

void referenceCalibrate(ReferenceLine& line) {
    wakeAndIdentify(line);
}

void referenceCalibrate2(ReferenceLine& line) {
    line.send('r');
    line.pause(kStep);
    line.expect(line.read(kAck), 'R');
    line.pause(kStep);
    const std::string text = line.read(kBlockText);
    line.flush();
    writeBlock(line, text, Reread::None);
}

void referenceDefaultCalibration(ReferenceLine& line) {
    line.pause(kStep);
    line.flush();
    line.send('r');
    line.expect(line.read(kAck), 'R');
    line.pause(kStep);
    const std::string text = line.read(kBlockText);
    line.flush();
    writeBlock(line, text, Reread::None);
}
