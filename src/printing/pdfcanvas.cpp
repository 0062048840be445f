#include "printing/pdfcanvas.h"

#include "fonts/interfacefont.h"

#include <QFile>
#include <QGlyphRun>
#include <QHash>
#include <QIODevice>
#include <QPainterPath>
#include <QRawFont>
#include <QSet>
#include <QTextLayout>
#include <QtEndian>

#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <vector>

namespace dialvault {

namespace {

constexpr qreal unitsPerPoint = 10;
// Page contents are written in hundredths of a point, as whole numbers: a
// printout of many pages is mostly numbers, and these are quick to write.
constexpr qreal finePerUnit = 10;

void appendNumber(QByteArray &out, qreal units)
{
    char digits[24];
    qint64 value = qRound64(units * finePerUnit);
    char *end = digits + sizeof digits;
    char *at = end;
    const bool negative = value < 0;
    quint64 magnitude = negative ? quint64(-value) : quint64(value);
    do {
        *--at = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative)
        *--at = '-';
    out.append(at, end - at);
}

QByteArray number(qreal value)
{
    QByteArray text = QByteArray::number(value, 'f', 2);
    while (text.endsWith('0'))
        text.chop(1);
    if (text.endsWith('.'))
        text.chop(1);
    return text == "-0" ? QByteArray("0") : text;
}

void appendHex4(QByteArray &out, uint value)
{
    static const char hex[] = "0123456789ABCDEF";
    const char digits[4] = {hex[(value >> 12) & 15], hex[(value >> 8) & 15], hex[(value >> 4) & 15],
                            hex[value & 15]};
    out.append(digits, 4);
}

QByteArray hex4(uint value)
{
    return QByteArray::number(value, 16).rightJustified(4, '0').toUpper();
}

// UTF-16 big-endian in hex, as PDF text strings and CMaps take it.
QByteArray utf16Hex(const QString &text)
{
    QByteArray hex;
    for (const QChar c : text)
        hex += hex4(c.unicode());
    return hex;
}

QByteArray deflated(const QByteArray &data)
{
    // qCompress puts the length before zlib's own stream. The quickest
    // level: pages of numbers shrink almost as much at it.
    return qCompress(data, 1).mid(4);
}

bool onlyFormatCharacters(const QString &text)
{
    for (const QChar c : text) {
        if (c.category() != QChar::Other_Format)
            return false;
    }
    return !text.isEmpty();
}

// One of the two faces of the interface font, embedded whole.
struct EmbeddedFont
{
    QString resource;
    QByteArray baseName;
    QByteArray file;
    QRawFont metrics; // at 1000 pixels to the em: a glyph space unit a pixel
    int object = 0; // the Type0 font, once used
    // What each glyph reads back as: the text it first stood for.
    std::map<quint32, QString> texts;
    // The single character code that the font maps to a glyph, among the
    // presentation forms: a ligature reads back as one such character
    // rather than as several that a reader might put in the wrong order.
    std::optional<QHash<quint32, char16_t>> presentationForms;

    void load()
    {
        if (!file.isEmpty())
            return;
        QFile source(resource);
        if (source.open(QIODevice::ReadOnly))
            file = source.readAll();
        metrics.loadFromData(file, 1000, QFont::PreferNoHinting);
    }

    char16_t presentationForm(quint32 glyph)
    {
        if (!presentationForms) {
            presentationForms.emplace();
            for (const auto &[first, last] : {std::pair<char16_t, char16_t>{0xFB50, 0xFDFF},
                                              std::pair<char16_t, char16_t>{0xFE70, 0xFEFC}}) {
                for (char16_t code = first; code <= last; ++code) {
                    const QList<quint32> glyphs
                        = metrics.glyphIndexesForString(QString(QChar(code)));
                    if (!glyphs.isEmpty() && glyphs.first() != 0
                        && !presentationForms->contains(glyphs.first()))
                        presentationForms->insert(glyphs.first(), code);
                }
            }
        }
        return presentationForms->value(glyph, 0);
    }
};

// Where a glyph of a line stands, and the text it was shaped from.
struct Occurrence
{
    quint32 glyph;
    QPointF position;
    QString text;
};

} // namespace

struct PdfCanvas::Impl
{
    QIODevice &device;
    QSizeF pageSize; // points
    qreal margin; // points
    QString title;
    qint64 written = 0;
    QString failure;
    std::vector<qint64> offsets; // of each object, numbered from 1
    int pagesObject = 0;
    std::vector<int> pageObjects;
    bool pageOpen = false;
    QByteArray content;
    std::set<int> fontsOnPage;
    EmbeddedFont fonts[2];
    std::optional<QSet<QChar>> confusableCharacters;

    Impl(QIODevice &device, QSizeF pageSize, qreal margin, const QString &title)
        : device(device)
        , pageSize(pageSize)
        , margin(margin)
        , title(title)
    {
        fonts[0].resource = QStringLiteral(":/fonts/Vazirmatn-UI-Regular.ttf");
        fonts[0].baseName = "VazirmatnUI-Regular";
        fonts[1].resource = QStringLiteral(":/fonts/Vazirmatn-UI-Bold.ttf");
        fonts[1].baseName = "VazirmatnUI-Bold";
    }

    void write(const QByteArray &bytes)
    {
        if (!failure.isEmpty())
            return;
        if (device.write(bytes) != bytes.size()) {
            failure = device.errorString();
            if (failure.isEmpty())
                failure = QStringLiteral("write failed");
            return;
        }
        written += bytes.size();
    }

    int reserve()
    {
        offsets.push_back(-1);
        return int(offsets.size());
    }

    void object(int number, const QByteArray &body)
    {
        offsets[number - 1] = written;
        write(QByteArray::number(number) + " 0 obj\n" + body + "\nendobj\n");
    }

    void stream(int number, const QByteArray &dictionary, const QByteArray &data)
    {
        const QByteArray packed = deflated(data);
        offsets[number - 1] = written;
        write(QByteArray::number(number) + " 0 obj\n<< " + dictionary
              + " /Filter /FlateDecode /Length " + QByteArray::number(packed.size())
              + " >>\nstream\n");
        write(packed);
        write("\nendstream\nendobj\n");
    }

    // The face that draws a glyph run, or none for another font.
    EmbeddedFont *embedded(const QRawFont &font)
    {
        if (font.familyName() != interfaceFontFamily())
            return nullptr;
        EmbeddedFont &face = fonts[font.weight() >= QFont::DemiBold ? 1 : 0];
        face.load();
        if (face.file.isEmpty())
            return nullptr;
        if (face.object == 0)
            face.object = reserve();
        return &face;
    }

    void startPage()
    {
        pageOpen = true;
        content.clear();
        content.reserve(1 << 18);
        fontsOnPage.clear();
        // Tenths of a point from the printable area's top-left corner,
        // downwards, as the pages are laid out.
        content += "0.01 0 0 -0.01 " + number(margin) + ' ' + number(pageSize.height() - margin)
            + " cm\n";
    }

    void endPage()
    {
        if (!pageOpen)
            return;
        pageOpen = false;
        const int contents = reserve();
        stream(contents, {}, content);
        QByteArray fontList;
        for (const int face : fontsOnPage)
            fontList += "/F" + QByteArray::number(face + 1) + ' '
                + QByteArray::number(fonts[face].object) + " 0 R ";
        const int page = reserve();
        object(page,
               "<< /Type /Page /Parent " + QByteArray::number(pagesObject) + " 0 R /MediaBox [0 0 "
                   + number(pageSize.width()) + ' ' + number(pageSize.height()) + "] /Contents "
                   + QByteArray::number(contents) + " 0 R /Resources << /Font << " + fontList
                   + ">> >> >>");
        pageObjects.push_back(page);
        content.clear();
    }

    // The characters that share a glyph with another in some joining form
    // (Persian and Arabic yeh, Persian and Arabic-Indic digits): only these
    // need to be told apart where they are drawn. Found once, by shaping
    // every letter of the Arabic script alone and joined on either side.
    const QSet<QChar> &confusable()
    {
        if (confusableCharacters)
            return *confusableCharacters;
        confusableCharacters.emplace();
        QFont font(interfaceFontFamily());
        font.setPixelSize(100);
        QHash<quint32, QSet<QChar>> sources;
        const QChar joiner(0x200D);
        const auto shapeAlone = [&](QChar c, const QString &text) {
            QTextLayout layout(text, font);
            layout.beginLayout();
            QTextLine line = layout.createLine();
            layout.endLayout();
            if (!line.isValid())
                return;
            for (const QGlyphRun &run : line.glyphRuns()) {
                for (const quint32 glyph : run.glyphIndexes())
                    sources[glyph].insert(c);
            }
        };
        for (const auto &[first, last] : {std::pair<char16_t, char16_t>{0x0600, 0x06FF},
                                          {0x0750, 0x077F},
                                          {0x08A0, 0x08FF},
                                          {0xFB50, 0xFDFF},
                                          {0xFE70, 0xFEFC},
                                          {u'0', u'9'}}) {
            for (char16_t code = first; code <= last; ++code) {
                const QChar c(code);
                if (!c.isPrint() || c.category() == QChar::Other_Format)
                    continue;
                const QString alone(c);
                for (const QString &text :
                     {alone, alone + joiner, joiner + alone + joiner, joiner + alone})
                    shapeAlone(c, text);
            }
        }
        for (const QSet<QChar> &characters : std::as_const(sources)) {
            if (characters.size() > 1)
                confusableCharacters->unite(characters);
        }
        return *confusableCharacters;
    }

    // Each glyph of `line` with the characters it was shaped from, where
    // these must be known: those of the one-character runs that hold a glyph
    // at the same place. Every character of a line with a glyph never drawn
    // before, else the confusable ones alone.
    std::vector<Occurrence> occurrences(const QTextLayout &layout, const QTextLine &line,
                                        const QList<QGlyphRun> &runs)
    {
        bool allKnown = true;
        for (const QGlyphRun &run : runs) {
            const EmbeddedFont *face = embedded(run.rawFont());
            for (const quint32 glyph : run.glyphIndexes())
                allKnown = allKnown && face && face->texts.count(glyph);
        }
        std::vector<Occurrence> found;
        const QString text = layout.text();
        const int end = line.textStart() + line.textLength();
        for (int i = line.textStart(); i < end; ++i) {
            if (allKnown && !confusable().contains(text.at(i)))
                continue;
            for (const QGlyphRun &run : line.glyphRuns(i, 1)) {
                const QList<quint32> glyphs = run.glyphIndexes();
                const QList<QPointF> positions = run.positions();
                for (qsizetype g = 0; g < glyphs.size(); ++g) {
                    Occurrence *same = nullptr;
                    for (Occurrence &known : found) {
                        if (known.glyph == glyphs[g] && samePlace(known.position, positions[g]))
                            same = &known;
                    }
                    if (same)
                        same->text += text.at(i);
                    else
                        found.push_back({glyphs[g], positions[g], QString(text.at(i))});
                }
            }
        }
        return found;
    }

    static bool samePlace(QPointF a, QPointF b)
    {
        return std::abs(a.x() - b.x()) < 0.01 && std::abs(a.y() - b.y()) < 0.01;
    }

    void drawText(const QTextLayout &layout, const QTextLine &line, QPointF origin)
    {
        const QList<QGlyphRun> runs = line.glyphRuns();
        const std::vector<Occurrence> shapedFrom = occurrences(layout, line, runs);
        for (const QGlyphRun &run : runs) {
            const QRawFont font = run.rawFont();
            const QList<quint32> glyphs = run.glyphIndexes();
            const QList<QPointF> positions = run.positions();
            EmbeddedFont *face = embedded(font);
            const int faceIndex = face == &fonts[1] ? 1 : 0;
            bool textOpen = false;
            QPointF last;
            for (qsizetype g = 0; g < glyphs.size(); ++g) {
                std::optional<QString> text;
                for (const Occurrence &occurrence : shapedFrom) {
                    if (occurrence.glyph == glyphs[g]
                        && samePlace(occurrence.position, positions[g]))
                        text = occurrence.text;
                }
                // Joiners and direction marks draw nothing, and read back as
                // nothing.
                if (text && onlyFormatCharacters(*text))
                    continue;
                const QPointF at = origin + positions[g];
                if (!face) {
                    drawOutline(font.pathForGlyph(glyphs[g]), at);
                    continue;
                }
                const bool actual = text && readBackAs(*face, glyphs[g], *text);
                if (!textOpen) {
                    fontsOnPage.insert(faceIndex);
                    content += "BT\n/F" + QByteArray::number(faceIndex + 1) + ' ';
                    appendNumber(content, font.pixelSize());
                    content += " Tf\n1 0 0 -1 ";
                    appendPoint(at);
                    content += "Tm\n";
                    textOpen = true;
                } else {
                    // Relative to the glyph before, in text space, which runs
                    // upwards.
                    appendPoint({at.x() - last.x(), last.y() - at.y()});
                    content += "Td\n";
                }
                last = at;
                if (actual)
                    content += "/Span << /ActualText <FEFF" + utf16Hex(*text) + "> >> BDC\n";
                content += '<';
                appendHex4(content, glyphs[g]);
                content += "> Tj\n";
                if (actual)
                    content += "EMC\n";
            }
            if (textOpen)
                content += "ET\n";
        }
    }

    // Whether this use of `glyph` must say its own text: the font's map
    // gives every glyph the text of its first use.
    bool readBackAs(EmbeddedFont &face, quint32 glyph, QString &text)
    {
        if (text.toUcs4().size() > 1) {
            if (const char16_t form = face.presentationForm(glyph))
                text = QString(QChar(form));
        }
        auto known = face.texts.find(glyph);
        // A glyph of several characters (a ligature) stands for them all.
        if (known != face.texts.end() && known->second.toUcs4().size() > 1)
            return false;
        if (known == face.texts.end()) {
            face.texts.emplace(glyph, text);
            return false;
        }
        if (known->second.isEmpty()) {
            known->second = text;
            return false;
        }
        return !text.isEmpty() && text != known->second;
    }

    void appendPoint(QPointF p)
    {
        appendNumber(content, p.x());
        content += ' ';
        appendNumber(content, p.y());
        content += ' ';
    }

    void drawOutline(const QPainterPath &path, QPointF at)
    {
        if (path.elementCount() == 0)
            return;
        for (int i = 0; i < path.elementCount(); ++i) {
            const QPainterPath::Element e = path.elementAt(i);
            appendPoint(at + QPointF(e.x, e.y));
            if (e.isMoveTo()) {
                content += "m\n";
            } else if (e.isLineTo()) {
                content += "l\n";
            } else if (i + 2 < path.elementCount()) {
                appendPoint(at + QPointF(path.elementAt(i + 1).x, path.elementAt(i + 1).y));
                appendPoint(at + QPointF(path.elementAt(i + 2).x, path.elementAt(i + 2).y));
                content += "c\n";
                i += 2;
            }
        }
        content += path.fillRule() == Qt::WindingFill ? "f\n" : "f*\n";
    }

    void writeFont(EmbeddedFont &face)
    {
        const int fileObject = reserve();
        stream(fileObject, "/Length1 " + QByteArray::number(face.file.size()), face.file);

        // The font's box and em from its header, in thousandths of the em.
        const QByteArray head = face.metrics.fontTable("head");
        QByteArray box = "[-1000 -1000 2000 2000]";
        if (head.size() >= 44) {
            const auto *bytes = reinterpret_cast<const uchar *>(head.constData());
            const qreal em = qFromBigEndian<quint16>(bytes + 18);
            const auto scaled = [&](int offset) {
                return QByteArray::number(
                    qRound(qFromBigEndian<qint16>(bytes + offset) * 1000 / em));
            };
            if (em > 0)
                box = '[' + scaled(36) + ' ' + scaled(38) + ' ' + scaled(40) + ' ' + scaled(42)
                    + ']';
        }
        const int descriptor = reserve();
        object(descriptor,
               "<< /Type /FontDescriptor /FontName /" + face.baseName + " /Flags 4 /FontBBox " + box
                   + " /ItalicAngle 0 /Ascent " + number(face.metrics.ascent()) + " /Descent "
                   + number(-face.metrics.descent()) + " /CapHeight "
                   + number(face.metrics.capHeight()) + " /StemV 80 /FontFile2 "
                   + QByteArray::number(fileObject) + " 0 R >>");

        QByteArray widths;
        QByteArray cmap;
        int mapped = 0;
        QByteArray block;
        const auto closeBlock = [&] {
            if (mapped > 0)
                cmap += QByteArray::number(mapped) + " beginbfchar\n" + block + "endbfchar\n";
            mapped = 0;
            block.clear();
        };
        for (const auto &[glyph, text] : face.texts) {
            const QList<QPointF> advance = face.metrics.advancesForGlyphIndexes({glyph});
            widths += QByteArray::number(glyph) + " ["
                + QByteArray::number(qRound(advance.value(0).x())) + "] ";
            if (text.isEmpty())
                continue;
            block += '<' + hex4(glyph) + "> <" + utf16Hex(text) + ">\n";
            if (++mapped == 100)
                closeBlock();
        }
        closeBlock();
        const int cidFont = reserve();
        object(cidFont,
               "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + face.baseName
                   + " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >> "
                     "/FontDescriptor "
                   + QByteArray::number(descriptor) + " 0 R /CIDToGIDMap /Identity /W [" + widths
                   + "] >>");
        const int toUnicode = reserve();
        stream(toUnicode, {},
               "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n/CIDSystemInfo "
               "<< /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n/CMapName "
               "/Adobe-Identity-UCS def\n/CMapType 2 def\n1 begincodespacerange\n<0000> "
               "<FFFF>\nendcodespacerange\n"
                   + cmap + "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n");
        object(face.object,
               "<< /Type /Font /Subtype /Type0 /BaseFont /" + face.baseName
                   + " /Encoding /Identity-H /DescendantFonts [" + QByteArray::number(cidFont)
                   + " 0 R] /ToUnicode " + QByteArray::number(toUnicode) + " 0 R >>");
    }
};

PdfCanvas::PdfCanvas(QIODevice &device, QSizeF pageSize, qreal margin, const QString &title)
    : d(std::make_unique<Impl>(device, pageSize, margin, title))
{
    d->write("%PDF-1.7\n%\xE2\xE3\xCF\xD3\n");
    d->pagesObject = d->reserve();
}

PdfCanvas::~PdfCanvas() = default;

QSizeF PdfCanvas::printableSize() const
{
    return (d->pageSize - QSizeF(2 * d->margin, 2 * d->margin)) * unitsPerPoint;
}

void PdfCanvas::newPage()
{
    d->endPage();
    d->startPage();
}

void PdfCanvas::drawLine(const QTextLayout &layout, const QTextLine &line, QPointF origin)
{
    if (!d->pageOpen)
        d->startPage();
    d->drawText(layout, line, origin);
}

void PdfCanvas::drawRule(const QLineF &rule, qreal width)
{
    if (!d->pageOpen)
        d->startPage();
    appendNumber(d->content, width);
    d->content += " w ";
    d->appendPoint(rule.p1());
    d->content += "m ";
    d->appendPoint(rule.p2());
    d->content += "l S\n";
}

Status PdfCanvas::finish()
{
    if (!d->pageOpen && d->pageObjects.empty())
        d->startPage();
    d->endPage();
    for (EmbeddedFont &face : d->fonts) {
        if (face.object != 0)
            d->writeFont(face);
    }
    QByteArray kids;
    for (const int page : d->pageObjects)
        kids += QByteArray::number(page) + " 0 R ";
    d->object(d->pagesObject,
              "<< /Type /Pages /Kids [" + kids + "] /Count "
                  + QByteArray::number(qsizetype(d->pageObjects.size())) + " >>");
    const int catalog = d->reserve();
    d->object(catalog,
              "<< /Type /Catalog /Pages " + QByteArray::number(d->pagesObject) + " 0 R >>");
    const int info = d->reserve();
    d->object(info, "<< /Title <FEFF" + utf16Hex(d->title) + "> /Producer (Dialvault) >>");

    const qint64 table = d->written;
    QByteArray xref = "xref\n0 " + QByteArray::number(qsizetype(d->offsets.size() + 1))
        + "\n0000000000 65535 f \n";
    for (const qint64 offset : d->offsets)
        xref += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    d->write(xref + "trailer\n<< /Size " + QByteArray::number(qsizetype(d->offsets.size() + 1))
             + " /Root " + QByteArray::number(catalog) + " 0 R /Info " + QByteArray::number(info)
             + " 0 R >>\nstartxref\n" + QByteArray::number(table) + "\n%%EOF\n");
    if (d->failure.isEmpty())
        return {};
    return {{1, d->failure, FailureCause::Other}};
}

} // namespace dialvault
