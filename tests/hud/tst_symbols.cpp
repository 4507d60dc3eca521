#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRawFont>
#include <QRegularExpression>
#include <QTest>

#include "HudLogic.h"
#include "Symbols.h"

using namespace halvic;

namespace {
const QString materialIcons
    = QStringLiteral("/usr/share/fonts/truetype/material-design-icons-iconfont/MaterialIcons-Regular.ttf");
}

class SymbolsTest : public QObject
{
    Q_OBJECT
private slots:
    void everyNameMapsToAGlyphOfTheFont()
    {
        if (!QFile::exists(materialIcons))
            QFAIL("fonts-material-design-icons-iconfont is not installed (scripts/setup.sh installs it)");
        const QRawFont font(materialIcons, 24);
        QVERIFY(font.isValid());
        QCOMPARE(font.familyName(), Symbols::fontFamily());
        for (const SymbolGlyph &symbol : Symbols::table()) {
            const QString glyph = Symbols::glyph(symbol.name);
            QVERIFY2(glyph.size() == 1, qPrintable(symbol.name));
            QVERIFY2(font.supportsCharacter(symbol.codePoint), qPrintable(symbol.name));
        }
    }

    void unknownNamesDrawNothing() { QCOMPARE(Symbols::glyph(QStringLiteral("no.such.symbol")), QString()); }

    // Every symbol the views and the rules name must be in the table.
    void everySymbolInUseIsInTheTable()
    {
        QStringList used;
        const QString source = qEnvironmentVariable("HALVIC_SOURCE_DIR") + QStringLiteral("/src");
        QDirIterator files(source, {QStringLiteral("*.qml")}, QDir::Files, QDirIterator::Subdirectories);
        const QRegularExpression quoted(QStringLiteral("\"([a-z0-9]+(?:\\.[a-z0-9]+)+)\""));
        while (files.hasNext()) {
            QFile file(files.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
            for (const QString &line : lines) {
                if (!line.contains(QStringLiteral("symbol:")))
                    continue;
                auto matches = quoted.globalMatch(line);
                while (matches.hasNext())
                    used << matches.next().captured(1);
            }
        }
        for (const QString &who : {QStringLiteral("you"), QStringLiteral("task"), QStringLiteral("tarvel")})
            used << hud::speakerSymbol(who);
        used << QStringLiteral("waveform.circle.fill");
        QVERIFY(used.size() > 15);
        for (const QString &name : std::as_const(used))
            QVERIFY2(!Symbols::glyph(name).isEmpty(), qPrintable(name));
    }
};

QTEST_MAIN(SymbolsTest)
#include "tst_symbols.moc"
