#pragma once

#include "platform/registry.h"

// Linux has no registry. The one key the program asks for, the location of the
// system-information tool, is answered with such a tool found on PATH.
class SystemRegistry : public Registry {
  public:
    std::optional<QVariant> value(Root root, const QString& keyPath,
                                  const QString& valueName) const override;
};
