#include "dataerror.h"

DataError::DataError(Reason reason, const QString& message)
    : reason_(reason)
    , message_(message)
    , utf8_(message.toUtf8()) {}
