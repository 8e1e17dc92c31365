#pragma once
// Splits a schema file into its statements: they end with ";" at the end of a line; "--" comments and
// blank lines between statements are dropped.

#include <QStringList>

namespace parcelon {

QStringList splitSqlScript(const QString &script);

} // namespace parcelon
