// Roles for the main window's regions, so that a screen reader meets each panel, the
// message pane and the bands as a panel named by its title, and the navigation bar as a
// tool bar whose places are page tabs. Without this Qt calls them fillers and frames (a
// frame is a top-level window to AT-SPI) and the places check boxes.
#pragma once

// Installs the roles once; call before the regions are created.
void installShellAccessibility();
