#pragma once

// Helpers shared by the word-data tests.
#include "dataerror.h"
#include "datasource.h"

#include <QFile>
#include <optional>

// A data source on path with source (a stored name or a Statement) opened.
template <typename Source> DataSource opened(const QString& path, const Source& source) {
    DataSource data;
    data.setDatabaseName(path);
    data.setRecordSource(source);
    data.Refresh();
    return data;
}

// The reason of the DataError that work throws, or nullopt.
template <typename Work> std::optional<DataError::Reason> failure(Work work) {
    try {
        work();
        return std::nullopt;
    } catch (const DataError& error) {
        return error.reason();
    }
}

inline QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
