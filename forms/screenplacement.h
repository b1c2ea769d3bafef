#pragma once

class QWidget;

// The forms' width follows the screen's height (the 4:3 design is kept), so on a narrower
// screen (1280 x 1024) a full-window form is wider than the screen. Such a form keeps its size
// and is moved only as far as its controls need: one whose controls fit on the screen (the main
// menu, whose right part is an empty margin) stays with its menu bar at the left; one whose
// controls span more than the screen is moved left until its rightmost control (the voice
// slider) is on the screen, and the controls at the left stay partly on it (about 60 pixels of
// the form are off-screen on 1280 x 1024). A form that fits stays where it is.
void keepOnScreen(QWidget* form);
