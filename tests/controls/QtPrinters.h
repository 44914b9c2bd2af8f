#pragma once

#include <QColor>
#include <QString>

#include <ostream>

// So that a failing comparison shows texts and colours as a person reads them.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << text.toStdString();
}
inline void PrintTo(const QColor& color, std::ostream* out) {
    *out << color.name().toStdString();
}
