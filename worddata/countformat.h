#pragma once

#include <QString>

// Counts on screen: at least one digit, right-aligned in three characters; longer numbers are
// shown in full ("  7", "123", "1234").
inline QString countText(qint64 count) {
    return QString::number(count).rightJustified(3, u' ');
}
