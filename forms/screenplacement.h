#pragma once

class QWidget;

// The forms' width follows the screen's height (the 4:3 design is kept), so on a narrower
// screen (1280 x 1024) a full-window form is wider than the screen. Such a form keeps its size
// and is moved left until its right edge is on the screen: the voice slider and the buttons on
// the right stay reachable. Only a strip of the left margin (about 60 pixels on 1280 x 1024) is
// off-screen; the controls that reach into it (the exit button, the group pictures and the
// start of their labels) stay partly on the screen. A form that fits stays where it is.
void keepOnScreen(QWidget* form);
