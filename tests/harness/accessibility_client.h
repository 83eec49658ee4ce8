// An accessibility client inside the test process, reading the tool as a screen reader
// does from outside it.
//
// While one exists, accessibility is active (widgets behave as they do with a reader
// attached). It reads every accessible object of the application: its role, name,
// description, value, state, actions, text, relations, table cells, its parent and its
// children. It reads them when told (after each step of a scenario) and after every
// accessibility update, at the next turn of the event loop, which is when a reader's calls
// arrive: inside blocking waits, live runs and modal pop-ups too. Like a reader with a
// cache it asks for children by the counts it saw before, so an object that hands out a
// child beyond its count is caught. What is wrong goes to the harness failure hook.
#pragma once

#include <QPointer>
#include <map>
#include <set>

class QAccessibleEvent;
class QAccessibleInterface;
class QObject;

class AccessibilityClient {
  public:
    AccessibilityClient();
    ~AccessibilityClient();
    AccessibilityClient(const AccessibilityClient&) = delete;
    AccessibilityClient& operator=(const AccessibilityClient&) = delete;

    // Reads the whole tree from the application object down; returns the objects met.
    int walk();
    int lastCount() const { return lastCount_; }
    unsigned long walks() const { return walks_; }
    unsigned long updates() const { return updates_; }

  private:
    static void onUpdate(QAccessibleEvent* event);
    void read(QAccessibleInterface* iface, int depth);
    void readOne(QAccessibleInterface* iface);
    void walkSoon();

    std::map<unsigned, int> childCounts_;  // by accessible id: the count seen last
    std::set<unsigned> met_;
    int lastCount_ = 0;
    unsigned long walks_ = 0;
    unsigned long updates_ = 0;
    bool walkPending_ = false;
    bool walking_ = false;
};
