#pragma once

class QWidget;

// What the widgets' own accessibility does not give a screen reader: the main
// window is a window, and a label that says nothing of its own (one that is
// empty, or whose words another label already says) is left out of its tree.
namespace AccessibleRoles {
void install();
void leaveOut(QWidget *label);
}
