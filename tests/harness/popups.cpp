// Records pop-ups and answers file requests as the test arranged.
#include "tests/harness/popups.h"

#include "toolkit/panels/userint.h"

void RecordingPopups::message(const std::string& title, const std::string& text) {
    messages.push_back({title, text});
    if (onMessage)
        onMessage(messages.back());
}

int RecordingPopups::fileSelect(const std::string& title, bool allowCancel,
                                const std::string& proposedName, std::string& path) {
    fileRequests.push_back({title, allowCancel, proposedName});
    path = answerResult_ > 0 ? answerPath_ : std::string();
    return answerResult_;
}

int RecordingPopups::confirm(const std::string& title, const std::string& text) {
    questions.push_back({title, text});
    return confirmAnswer;
}

bool RecordingPopups::chartImage(bool& pdf, int& width, int& height) {
    imageProposals.emplace_back(width, height);
    pdf = imageAsPdf;
    width = imageWidth > 0 ? imageWidth : width;
    height = imageHeight > 0 ? imageHeight : height;
    return true;
}

void RecordingPopups::answerFileSelect(std::string path, int result) {
    answerPath_ = std::move(path);
    answerResult_ = result;
}

void RecordingPopups::answerCancel() {
    answerFileSelect({}, VAL_NO_FILE_SELECTED);
}
