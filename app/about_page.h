// The About page of the main window: the tool's version and build, the Qt it runs on, the
// platform, where the operator's data is kept, the licence; buttons for the third-party
// notices, Qt's own About and copying the details for a support call.
#pragma once

class QWidget;

QWidget* createAboutPage();
