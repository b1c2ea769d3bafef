#pragma once

#include <QString>
#include <QVariant>
#include <optional>

// Read-only access to the system's configuration registry.
class Registry {
  public:
    enum class Root { LocalMachine, CurrentUser };

    virtual ~Registry() = default;

    // A text value as QString, a 32-bit number as quint32; nullopt when the key or value is absent.
    virtual std::optional<QVariant> value(Root root, const QString& keyPath,
                                          const QString& valueName) const = 0;
};
