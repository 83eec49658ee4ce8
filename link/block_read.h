// The one read of the settings block that every action uses: 'r', its acknowledgement and
// the block text, judged before anything is decoded or written back.
//
// The actions differ only in the points of BlockReadRecipe; each action's recipe is one
// row of the table in block_read.cpp, next to the others. A read fails when the recipe
// tests the response letter and it is not 'R', when the serial status is negative, when
// fewer than 129 characters came, when the text is not 43 groups of two hex digits and a
// comma, or when the instrument's two checksum characters follow and do not match the
// text. An instrument that sends no checksum is read as before: the checksum is checked
// only when it comes. A read of a lost line ends at its acknowledgement.
//
// Results are values (BlockRead): the window and the command line each say what they
// mean in their own place.
#pragma once

#include "link/link_state.h"

enum class LetterTest {
    None,         // the letter is not looked at
    BeforePause,  // tested at once, before the pause that follows the acknowledgement
    AfterPause,   // tested after that pause
};

struct BlockReadRecipe {
    double before;          // pause before the flush
    bool flush;             // FlushInQ, FlushOutQ before 'r'
    double afterFlush;      // pause between the flush and 'r'
    double beforeAck;       // pause between 'r' and the acknowledgement's read
    bool ackWithText;       // one read takes the acknowledgement and the text behind it
    double afterAck;        // pause between the acknowledgement and the text
    LetterTest letter;      // whether and when the 'R' is tested
    int textLength;         // characters asked for after the acknowledgement
    double afterText;       // pause after the text
    int terminatorAt;       // where a NUL goes once the text is read; -1: none
    bool flushesOnFailure;  // what else came behind a failed text is discarded at once
    double checksumWait;    // > 0: after the 129 characters, wait this long for the checksum
};

// The recipes, one per action that reads the block.
extern const BlockReadRecipe kSettingsDisplayRead;  // kx and qv read buttons
extern const BlockReadRecipe kKxWriteRead;
extern const BlockReadRecipe kQvWriteRead;
extern const BlockReadRecipe kClockDisplayRead;
extern const BlockReadRecipe kClockWriteRead;
extern const BlockReadRecipe kStartDisplayRead;
extern const BlockReadRecipe kStartWriteRead;
extern const BlockReadRecipe kLiveStartRead;
extern const BlockReadRecipe kCalibrationRead;
extern const BlockReadRecipe kDefaultCalibrationRead;
extern const BlockReadRecipe kRestoreRead;  // the history's restore, as the qv write reads
// The command line's reads before its writes: the restore's, so every write it makes reads
// the block as the qv write does.
inline const BlockReadRecipe& kCommandWriteRead = kRestoreRead;

// What a block read brought. The text starts at ioBuffer + textOffset.
struct BlockRead {
    bool ok = false;
    bool letterRefused = false;     // the letter was tested and was not 'R'; no text was read
    AckFrame ack;                   // the acknowledgement of 'r'
    int status = 0;                 // the serial status of the text read
    int received = 0;               // characters of block text that came
    int badPosition = -1;           // first character that breaks the form, when malformed
    bool checksumMismatch = false;  // the instrument's checksum does not match the text
    int textOffset = 0;
    char text[kBlockTextLength + 1] = {};  // the 129 characters as read, when ok
};

// Reads the block by `recipe`. A failed read (other than a refused letter) of a recipe that
// flushes on failure has flushed both queues before it returns.
BlockRead readBlock(const BlockReadRecipe& recipe);

// Judges a text read: `status` counts from position 0, the text starts at `textOffset`.
// Two checksum characters behind the 129, when they came, must match the text.
BlockRead checkBlockRead(int status, int textOffset = 0);
