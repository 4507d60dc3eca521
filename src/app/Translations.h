#pragma once

#include <QLocale>
#include <QTranslator>

namespace halvic {

/// The HUD's translation for a locale (its first UI language that has one, from the
/// translations built into the binary) and Qt's own where the system has it, installed for
/// as long as this lives. QML's qsTr and C++'s tr go through the same translators, so this is
/// made right after the application, before any view.
class Translations
{
public:
    explicit Translations(const QLocale &locale = QLocale::system());
    ~Translations();

    Translations(const Translations &) = delete;
    Translations &operator=(const Translations &) = delete;

private:
    QTranslator m_halvic;
    QTranslator m_qt;
};

} // namespace halvic
