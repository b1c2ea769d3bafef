#pragma once

class QWidget;

// Makes a double click on a tick box or button count as one click. Qt turns the double-click
// event (the second press) into a press by default, so a double click toggled twice; here it
// is swallowed, and the release after it finds no press and clicks nothing.
void countDoubleClickAsOne(QWidget* widget);
