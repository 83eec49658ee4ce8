// Stands in for the operator at modal pop-ups: records every message, question and file
// request, and answers questions and file requests as the test arranged (by default Yes to
// every question and a cancel to every file request).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "toolkit/panels/testing.h"

struct RecordedMessage {
    std::string title;
    std::string text;
};

struct RecordedFileRequest {
    std::string title;
    bool allowCancel = false;
    std::string proposedName;
};

class RecordingPopups : public PopupAnswerer {
  public:
    void message(const std::string& title, const std::string& text) override;
    int fileSelect(const std::string& title, bool allowCancel, const std::string& proposedName,
                   std::string& path) override;
    int confirm(const std::string& title, const std::string& text) override;
    bool chartImage(bool& pdf, int& width, int& height) override;

    // Later file requests choose `path` with `result` (VAL_NEW_FILE_SELECTED, ...).
    void answerFileSelect(std::string path, int result);
    void answerCancel();

    // Runs while a pop-up is open, as the operator acting before answering it.
    std::function<void(const RecordedMessage&)> onMessage;

    // Later questions are answered Yes (1) or No (0).
    int confirmAnswer = 1;
    // Later chart images: PNG or PDF, the size proposed unless one is given here.
    bool imageAsPdf = false;
    int imageWidth = 0, imageHeight = 0;
    // The sizes proposed, one a chart image.
    std::vector<std::pair<int, int>> imageProposals;

    std::vector<RecordedMessage> messages;
    std::vector<RecordedMessage> questions;
    std::vector<RecordedFileRequest> fileRequests;

  private:
    std::string answerPath_;
    int answerResult_ = 0;  // VAL_NO_FILE_SELECTED
};
