#pragma once

#include <QString>

// The caption of a level's button on the practice and the slide-show screens: "みていない"
// for level 0, then "○", "△○", ... "△△△△" for level 5; empty outside 0..5.
QString levelCaption(int level);
