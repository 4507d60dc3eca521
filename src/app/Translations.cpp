#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

#include "Logging.h"

namespace halvic {

Translations::Translations(const QLocale &locale)
{
    const QString separator = QStringLiteral("_");
    if (m_halvic.load(locale, QStringLiteral("halvic"), separator, QStringLiteral(":/i18n")))
        QCoreApplication::installTranslator(&m_halvic);
    if (m_qt.load(locale, QStringLiteral("qtbase"), separator, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&m_qt);
    qCDebug(lcApp) << "translations for" << locale.uiLanguages() << ":" << m_halvic.filePath() << m_qt.filePath();
}

Translations::~Translations()
{
    QCoreApplication::removeTranslator(&m_qt);
    QCoreApplication::removeTranslator(&m_halvic);
}

} // namespace halvic
