#include "idealweight.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

// The help file as its reader sees it: its topics, its links, and every number in it,
// each recomputed here from the formulas it states.
namespace {

const QList<int> Heights{155, 165, 175, 185};
constexpr int HealthyLowTenths = 185;  // body-mass index 18.5
constexpr int HealthyHighTenths = 249; // body-mass index 24.9

// A formula in inches over 5 feet: a base weight and a weight per inch, in hundredths
// of a kilogram, for a man and for a woman.
struct InchFormula
{
    QString name;
    int base[2];
    int perInch[2];
};

const QList<InchFormula> InchFormulas{
    {QStringLiteral("Devine"), {5000, 4550}, {230, 230}},
    {QStringLiteral("Robinson"), {5200, 4900}, {190, 170}},
    {QStringLiteral("Miller"), {5620, 5310}, {141, 136}},
    {QStringLiteral("Hamwi"), {4800, 4550}, {270, 220}},
};

// Numbers a reader may meet in the text as they are, and why: the height field's range
// and step, the formula's constants, the start height, the settings' status values and
// the bounds of a healthy body-mass index.
const QSet<QString> PlainConstants{
    QStringLiteral("100"), QStringLiteral("250"),  QStringLiteral("0,5"), QStringLiteral("150"),
    QStringLiteral("4"),   QStringLiteral("2"),    QStringLiteral("160"), QStringLiteral("1"),
    QStringLiteral("0"),   QStringLiteral("18,5"), QStringLiteral("24,9")};

QString decimal(qint64 value, int decimals)
{
    qint64 scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    QString text = QString::number(value / scale);
    if (decimals > 0)
        text += u',' + QStringLiteral("%1").arg(value % scale, decimals, 10, QChar(u'0'));
    return text;
}

// A value given in hundredths, written as short as it goes: 5000 as 50, 4550 as 45,5.
QString shortDecimal(qint64 hundredths)
{
    if (hundredths % 100 == 0)
        return decimal(hundredths / 100, 0);
    if (hundredths % 10 == 0)
        return decimal(hundredths / 10, 1);
    return decimal(hundredths, 2);
}

// Half up, for a positive fraction.
qint64 roundedQuotient(qint64 numerator, qint64 denominator)
{
    return (2 * numerator + denominator) / (2 * denominator);
}

QString inchFormulaWeight(const InchFormula &formula, int height, Sex sex)
{
    const int s = sex == Sex::Man ? 0 : 1;
    // Inches over 60 are (height / 2.54 − 60) = (50 · height − 7620) / 127.
    const qint64 hundredthsTimes127 =
        qint64(formula.base[s]) * 127 + qint64(formula.perInch[s]) * (50 * height - 7620);
    return decimal(roundedQuotient(hundredthsTimes127, 127 * 10), 1);
}

QString programWeight(int height, Sex sex)
{
    QString text = IdealWeight::resultText(height, sex);
    text.chop(3); // " Kg"
    return text.replace(u'.', u',');
}

QString normalized(QString text)
{
    return text.replace(QChar::Nbsp, u' ').simplified();
}

QString cellText(QTextTable *table, int row, int column)
{
    const QTextTableCell cell = table->cellAt(row, column);
    QTextCursor cursor = cell.firstCursorPosition();
    cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return normalized(cursor.selectedText());
}

QStringList rowTexts(QTextTable *table, int row)
{
    QStringList texts;
    for (int column = 0; column < table->columns(); ++column)
        texts.append(cellText(table, row, column));
    return texts;
}

} // namespace

class TestHelpFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void titleAndTopics();
    void everyLinkLeadsToATopic();
    void quitTopicExplainsTheQuestion();
    void formulaWeightsTable();
    void healthyRangeTable();
    void numbersInTheText();

private:
    QTextTable *tableWithHeader(const QString &firstColumns);
    // The text outside the tables, a line per paragraph.
    QString prose() const;
    // The topic from the heading with this anchor to the next heading of its rank.
    QString topicText(const QString &anchor) const;

    QTextDocument m_document;
    QStringList m_anchors;
};

void TestHelpFile::initTestCase()
{
    QFile file(QStringLiteral(MORPHO_HELP_FILE));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    m_document.setHtml(QString::fromUtf8(file.readAll()));
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it)
            m_anchors += it.fragment().charFormat().anchorNames();
    }
}

QTextTable *TestHelpFile::tableWithHeader(const QString &firstColumns)
{
    for (QTextFrame *frame : m_document.rootFrame()->childFrames()) {
        auto *table = qobject_cast<QTextTable *>(frame);
        if (table && rowTexts(table, 0).join(u'|').startsWith(firstColumns))
            return table;
    }
    return nullptr;
}

QString TestHelpFile::prose() const
{
    QStringList lines;
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        if (!QTextCursor(block).currentTable())
            lines.append(normalized(block.text()));
    }
    return lines.join(u'\n');
}

QString TestHelpFile::topicText(const QString &anchor) const
{
    QStringList lines;
    int level = 0;
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        const int heading = block.blockFormat().headingLevel();
        if (level == 0) {
            const QStringList names = block.begin().atEnd()
                                          ? QStringList()
                                          : block.begin().fragment().charFormat().anchorNames();
            if (heading > 0 && names.contains(anchor))
                level = heading;
        } else if (heading > 0 && heading <= level) {
            break;
        }
        if (level > 0)
            lines.append(normalized(block.text()));
    }
    return lines.join(u'\n');
}

void TestHelpFile::titleAndTopics()
{
    QCOMPARE(m_document.metaInformation(QTextDocument::DocumentTitle),
             QStringLiteral("Aide de Morphocalcule"));
    // The contents, the quit question's topic, and the popup menu's for F1 on its items.
    for (const char *topic : {"contents", "context-4", "context-0"})
        QVERIFY2(m_anchors.count(QLatin1String(topic)) == 1, topic);
}

void TestHelpFile::everyLinkLeadsToATopic()
{
    int links = 0;
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isAnchor() || format.anchorHref().isEmpty())
                continue;
            ++links;
            const QString href = format.anchorHref();
            QVERIFY2(href.startsWith(u'#') && m_anchors.contains(href.mid(1)), qPrintable(href));
        }
    }
    QVERIFY(links > 0);
}

void TestHelpFile::quitTopicExplainsTheQuestion()
{
    const QString topic = topicText(QStringLiteral("context-4"));
    QVERIFY(topic.startsWith(QStringLiteral("Quitter Morphocalcule\n")));
    for (const QString &part : {QStringLiteral("« Voulez-vous quitter Morphocalcule 1.1 ? »"),
                                QStringLiteral("Oui, ou Entrée"), QStringLiteral("Non, ou Échap"),
                                QStringLiteral("Aide, ou F1"), QStringLiteral("enregistre")})
        QVERIFY2(topic.contains(part), qPrintable(part));
}

void TestHelpFile::formulaWeightsTable()
{
    QTextTable *table = tableWithHeader(QStringLiteral("Taille (cm)|Sexe"));
    QVERIFY(table);
    QStringList header{QStringLiteral("Taille (cm)"), QStringLiteral("Sexe"),
                       QStringLiteral("Morphocalcule")};
    for (const InchFormula &formula : InchFormulas)
        header.append(formula.name);
    header.append(QStringLiteral("Broca"));
    QCOMPARE(rowTexts(table, 0), header);

    int row = 1;
    for (int height : Heights) {
        for (Sex sex : {Sex::Man, Sex::Woman}) {
            QStringList expected{QString::number(height),
                                 sex == Sex::Man ? QStringLiteral("homme")
                                                 : QStringLiteral("femme"),
                                 programWeight(height, sex)};
            for (const InchFormula &formula : InchFormulas)
                expected.append(inchFormulaWeight(formula, height, sex));
            expected.append(decimal((height - 100) * 10, 1));
            QVERIFY2(row < table->rows(), "rows missing");
            QCOMPARE(rowTexts(table, row), expected);
            ++row;
        }
    }
    QCOMPARE(table->rows(), row);
}

void TestHelpFile::healthyRangeTable()
{
    QTextTable *table = tableWithHeader(QStringLiteral("Taille (cm)|Poids minimal"));
    QVERIFY(table);
    QCOMPARE(
        rowTexts(table, 0),
        (QStringList{QStringLiteral("Taille (cm)"),
                     QStringLiteral("Poids minimal (IMC %1)").arg(decimal(HealthyLowTenths, 1)),
                     QStringLiteral("Poids maximal (IMC %1)").arg(decimal(HealthyHighTenths, 1))}));
    int row = 1;
    for (int height : Heights) {
        // Weight in tenths of a kilogram = index in tenths × height² / 10000; the range
        // is rounded inwards so that both ends keep a healthy index.
        const qint64 square = qint64(height) * height;
        const qint64 low = (HealthyLowTenths * square + 9999) / 10000;
        const qint64 high = HealthyHighTenths * square / 10000;
        QVERIFY2(row < table->rows(), "rows missing");
        QCOMPARE(rowTexts(table, row),
                 (QStringList{QString::number(height), decimal(low, 1), decimal(high, 1)}));
        ++row;
    }
    QCOMPARE(table->rows(), row);
}

// Each number of the text is either one of the plain constants or part of a statement
// checked here; the statements are taken out before the rest is looked at.
void TestHelpFile::numbersInTheText()
{
    QString text = prose();
    auto takeAll = [&text](const QString &pattern, const auto &check) {
        const QRegularExpression expression(pattern);
        int found = 0;
        for (QRegularExpressionMatch match = expression.match(text); match.hasMatch();
             match = expression.match(text)) {
            check(match);
            ++found;
            if (QTest::currentTestFailed())
                break;
            text.replace(match.capturedStart(), match.capturedLength(), QStringLiteral(" "));
        }
        return found;
    };
    auto sexOf = [](const QString &words) {
        return words == QLatin1String("un homme") ? Sex::Man : Sex::Woman;
    };

    // What the window shows: « 57.50 Kg » pour un homme de 160 cm.
    const int shown =
        takeAll(QStringLiteral("« ([0-9.]+ Kg) » pour (un homme|une femme) de (\\d+) cm"),
                [&](const QRegularExpressionMatch &m) {
                    QCOMPARE(m.captured(1),
                             IdealWeight::resultText(m.captured(3).toInt(), sexOf(m.captured(2))));
                });
    QVERIFY(shown >= 2);

    // The formula worked through: (175 − 100) − (175 − 150) / 4 = 75 − 6,25 = 68,75 kg.
    const int worked = takeAll(
        QStringLiteral("pour (un homme|une femme) de (\\d+) cm, \\((\\d+) − 100\\) − \\((\\d+) − "
                       "150\\) / (\\d) = ([\\d,]+) − ([\\d,]+) = ([\\d,]+) kg"),
        [&](const QRegularExpressionMatch &m) {
            const int height = m.captured(2).toInt();
            const int divisor = sexOf(m.captured(1)) == Sex::Man ? 4 : 2;
            QCOMPARE(m.captured(3).toInt(), height);
            QCOMPARE(m.captured(4).toInt(), height);
            QCOMPARE(m.captured(5).toInt(), divisor);
            QCOMPARE(m.captured(6), shortDecimal((height - 100) * 100));
            QCOMPARE(m.captured(7), shortDecimal((height - 150) * 100 / divisor));
            QCOMPARE(m.captured(8),
                     shortDecimal((height - 100) * 100 - (height - 150) * 100 / divisor));
        });
    QCOMPARE(worked, 2);

    // Where the two lines cross.
    QCOMPARE(takeAll(QStringLiteral("à 150 cm, les deux formules donnent (\\d+) kg"),
                     [&](const QRegularExpressionMatch &m) {
                         QCOMPARE(m.captured(1) + QStringLiteral(".00 Kg"),
                                  IdealWeight::resultText(150, Sex::Man));
                         QCOMPARE(m.captured(1) + QStringLiteral(".00 Kg"),
                                  IdealWeight::resultText(150, Sex::Woman));
                     }),
             1);

    QCOMPARE(takeAll(QStringLiteral("« Voulez-vous quitter Morphocalcule 1\\.1 \\? »"),
                     [](const QRegularExpressionMatch &) {}),
             1);

    // The inch: 5 pieds, soit 60 pouces ou 152,4 cm (1 pouce = 2,54 cm).
    QCOMPARE(takeAll(QStringLiteral("(\\d+) pieds, soit (\\d+) pouces ou ([\\d,]+) cm \\(1 pouce = "
                                    "([\\d,]+) cm\\)"),
                     [](const QRegularExpressionMatch &m) {
                         QCOMPARE(m.captured(1), QStringLiteral("5"));
                         QCOMPARE(m.captured(2), QStringLiteral("60"));
                         QCOMPARE(m.captured(3), shortDecimal(60 * 254));
                         QCOMPARE(m.captured(4), QStringLiteral("2,54"));
                     }),
             1);

    // Each formula in inches as the weights table computes it.
    for (const InchFormula &formula : InchFormulas) {
        const QString line =
            QStringLiteral("%1 : homme %2 kg \\+ %3 kg par pouce ; femme %4 kg \\+ "
                           "%5 kg par pouce\\.")
                .arg(formula.name, shortDecimal(formula.base[0]), shortDecimal(formula.perInch[0]),
                     shortDecimal(formula.base[1]), shortDecimal(formula.perInch[1]));
        QVERIFY2(takeAll(line, [](const QRegularExpressionMatch &) {}) == 1, qPrintable(line));
    }
    QCOMPARE(takeAll(QStringLiteral("Broca : la taille en centimètres moins 100,"),
                     [](const QRegularExpressionMatch &) {}),
             1);

    const QRegularExpression number(QStringLiteral("(?<![\\w,.])\\d+(?:,\\d+)?(?![\\w]|[,.]\\d)"));
    for (auto it = number.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const qsizetype from = qMax<qsizetype>(0, match.capturedStart() - 30);
        QVERIFY2(PlainConstants.contains(match.captured()),
                 qPrintable(QStringLiteral("unchecked number %1 in \"…%2…\"")
                                .arg(match.captured(), text.mid(from, 60))));
    }
}

QTEST_MAIN(TestHelpFile)
#include "tst_helpfile.moc"
