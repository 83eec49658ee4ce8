// The accessible interface of every scroll area in the tool (the page area, the ports
// list and any other QScrollArea or bare QAbstractScrollArea).
//
// Qt's own interface hands a client the child at any index it asks for and reads past its
// list when the index is out of range. Screen readers keep a count of each object's
// children and ask by index; a scroll bar that comes or goes changes the count without
// telling them, and the next stale index took the program down. This interface shows the
// same children in the same order (the viewport, the scroll bars that are shown, the
// corner widget) and answers nothing for an index that is not there.
#pragma once

// Installs the interface once; call before any scroll area's interface is asked for.
void installAccessibleScrollAreas();
