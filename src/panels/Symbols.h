#pragma once

#include <QObject>
#include <QString>
#include <QtQmlIntegration>

#include <span>

namespace halvic {

/// One symbol of the table: the name the logic uses and its Material Icons code point.
struct SymbolGlyph
{
    QLatin1StringView name;
    char32_t codePoint;
};

/// The one table from symbol names (as the views and logic name them) to glyphs of the
/// Material Icons font. Views draw a symbol as text in `fontFamily`.
class Symbols : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QString fontFamily READ fontFamily CONSTANT)
public:
    using QObject::QObject;

    static QString fontFamily() { return QStringLiteral("Material Icons"); }
    /// The glyph of `name` as a one-character string; empty for an unknown name.
    Q_INVOKABLE static QString glyph(const QString &name);
    static std::span<const SymbolGlyph> table();
};

} // namespace halvic
