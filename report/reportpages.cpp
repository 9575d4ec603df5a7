#include "report/reportpages.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>
#include <algorithm>
#include <functional>
#include <vector>

#include "record/journal.h"
#include "report/reportblocks.h"
#include "report/reportlines.h"

namespace {

constexpr double kMarginMm = 15.0;
constexpr double kPaddingMm = 0.8;
constexpr int kPdfResolution = 300;  // dpi for placing text; the PDF stays vector text
constexpr double kMmPerInch = 25.4;
constexpr double kNoLigatureSpacing = 0.05;  // device pixels: too little to see
const QColor kRuleColor(0x80, 0x80, 0x80);
const QColor kTitleFill(0xe8, 0xe8, 0xe8);
const QColor kGroupFill(0xf2, 0xf2, 0xf2);

const QPageLayout& A4Layout() {
    static const QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                    QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                    QPageLayout::Millimeter);
    return layout;
}

enum FontRole {
    Body,
    Cell,
    CellBold,
    Code,
    TitleFont,
    HeadingFont,
    SubheadingFont,
    Footer,
    kRoles
};

struct FontRow {
    const char* family;
    double points;
    bool bold;
};
const FontRow kFonts[kRoles] = {
    {"DejaVu Sans", 9, false},      {"DejaVu Sans", 8, false}, {"DejaVu Sans", 8, true},
    {"DejaVu Sans Mono", 8, false}, {"DejaVu Sans", 16, true}, {"DejaVu Sans", 12, true},
    {"DejaVu Sans", 10, true},      {"DejaVu Sans", 8, false},
};

// One thing drawn on a page: a line of text at the top left of its box, a filled box, a box's
// outline, or a rule along the box's bottom edge.
struct Piece {
    enum Kind { Text, Fill, Frame, Rule } kind;
    QRectF box;
    FontRole font = Body;
    QString text;
    QColor color;
};
using PagePieces = std::vector<Piece>;

// Caches of measured and shaped text that a report of any length keeps small: the labels,
// values and titles come back on every page, the times and codes of the job rows never.
template <typename Value>
class BoundedCache {
  public:
    const Value* Find(const QString& key) const {
        const auto known = values_.constFind(key);
        return known == values_.cend() ? nullptr : &*known;
    }
    const Value& Put(const QString& key, Value value) {
        if (values_.size() >= kLimit) values_.clear();
        return values_[key] = std::move(value);
    }

  private:
    static constexpr qsizetype kLimit = 4096;
    QHash<QString, Value> values_;
};

// The fonts and their measures on one paint device.
class Typesetter {
  public:
    explicit Typesetter(QPaintDevice& device) : device_(device) {
        for (int role = 0; role < kRoles; ++role) {
            QFont font(QString::fromLatin1(kFonts[role].family));
            font.setPointSizeF(kFonts[role].points);
            font.setBold(kFonts[role].bold);
            // Any letter spacing turns ligatures off: with them "fi" in "Konfiguration" is one
            // glyph, and a search or copy of the PDF's text no longer finds the word.
            font.setLetterSpacing(QFont::AbsoluteSpacing, kNoLigatureSpacing);
            fonts_.push_back(font);
            metrics_.emplace_back(font, &device);
        }
    }
    const QFont& Font(FontRole role) const { return fonts_[size_t(role)]; }
    const QFontMetricsF& Metrics(FontRole role) const { return metrics_[size_t(role)]; }
    double Line(FontRole role) const { return metrics_[size_t(role)].lineSpacing(); }

    // The text in lines no wider than width: broken after a space, "_" or "-" where one fits,
    // else (a word longer than the line) where the line is full. A line break in the text
    // always breaks. File names, sites and rooms come from the record: a format character in
    // them (a right-to-left override) is printed escaped, as what is stored.
    QStringList Wrap(const QString& text, FontRole font, double width) const {
        const QString key = QString::number(font) + '|' + QString::number(width) + '|' + text;
        if (const QStringList* known = wrapped_.Find(key)) return *known;
        QStringList lines;
        for (const QString& part : WithFormatCharactersEscaped(text).split('\n'))
            lines << Measured(part, font, width);
        return wrapped_.Put(key, lines);
    }

    // The text shaped once into glyphs, its baseline at the font's ascent.
    const QList<QGlyphRun>& GlyphsOf(FontRole font, const QString& text) const {
        const QString key = QString::number(font) + '|' + text;
        if (const QList<QGlyphRun>* known = glyphs_.Find(key)) return *known;
        QTextLayout layout(text, fonts_[size_t(font)], &device_);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        return glyphs_.Put(key, layout.glyphRuns());
    }

  private:
    QStringList Measured(const QString& text, FontRole font, double width) const {
        const QFontMetricsF& metrics = metrics_[size_t(font)];
        if (metrics.horizontalAdvance(text) <= width) return {text};
        QStringList lines;
        QString rest = text;
        while (!rest.isEmpty()) {
            if (metrics.horizontalAdvance(rest) <= width) {
                lines << rest;
                break;
            }
            qsizetype low = 1, high = rest.size();  // low fits (or must: one character)
            while (low + 1 < high) {
                const qsizetype middle = (low + high) / 2;
                (metrics.horizontalAdvance(rest.left(middle)) <= width ? low : high) = middle;
            }
            // After a space, or after a "_" or "-" that joins the words of a file's name.
            qsizetype space = rest.lastIndexOf(' ', low);
            for (const QChar joint : {QChar('_'), QChar('-'), QChar('/')})
                space = std::max(space, rest.lastIndexOf(joint, low - 1));
            const qsizetype cut = space > 0 ? space + 1 : low;
            lines << rest.left(cut).trimmed();
            rest = rest.mid(cut);
        }
        return lines;
    }

    QPaintDevice& device_;
    std::vector<QFont> fonts_;
    std::vector<QFontMetricsF> metrics_;
    mutable BoundedCache<QStringList> wrapped_;
    mutable BoundedCache<QList<QGlyphRun>> glyphs_;
};

// The report's pieces flowed into pages of the area inside the margins less the footer, one page
// at a time: each page goes to the page call as soon as it is full, and only then is the next
// one begun. Tables break between rows, with the titles (and what the table belongs to)
// repeated; a heading and what follows it start on the same page; a table starts with a few
// rows, and a group's caption with its first row.
class Pager : public ReportSink {
  public:
    using PageCall = std::function<void(const PagePieces& pieces, int index)>;
    Pager(const Typesetter& type, const QSizeF& paper, double px, PageCall page)
        : type_(type), paper_(paper), px_(px), page_(std::move(page)) {
        bodyHeight_ = paper.height() - type.Line(Footer) * 2.5;
    }

    // Ends the last page; the number of pages.
    int Finish() {
        LayPending(0);
        EndPage();
        return index_;
    }

    void Block(const ReportBlock& block) override {
        switch (block.kind) {
            case ReportBlock::Heading:
            case ReportBlock::Subheading:
                // A heading after a heading's paragraph begins a new chain.
                if (!pending_.empty() && pending_.back().kind == ReportBlock::Paragraph)
                    LayPending(0);
                pending_.push_back(block);
                return;
            case ReportBlock::Paragraph:
                if (!pending_.empty()) {
                    pending_.push_back(block);
                    return;
                }
                break;
            default:
                break;
        }
        LayPending(BlockHeight(block));
        LayBlock(block);
    }

    void TableStarts(const ReportTable& table) override {
        table_ = table;
        left_ = {0};
        for (const ReportColumn& column : table.columns)
            left_.push_back(left_.back() + paper_.width() * column.percent / 100.0);
        const double start = TitleHeight() + table.keepRows * OneLineRow();
        LayPending(start);
        if (y_ > 0 && y_ + start > bodyHeight_) NewPage();
        Titles();
    }

    void Row(const ReportRow& row) override {
        // A row of one line each (most rows) needs no measuring to know its height.
        const double height = row.group ? OneLineRow() : RowHeight(row);
        // A group's caption does not stand alone at a page's foot.
        const double needed = row.group ? height + OneLineRow() : height;
        if (y_ + needed > bodyHeight_) {
            NewPage();
            Add({Piece::Text,
                 QRectF(0, y_, paper_.width(), 0),
                 SubheadingFont,
                 table_.continued,
                 {}});
            y_ += type_.Line(SubheadingFont) + type_.Line(Body) * 0.2;
            Titles();
        }
        if (row.group)
            LayRow({left_.front(), left_.back()}, row.cells, CellBold, kGroupFill, true);
        else
            LayRow(left_, row.cells, Cell, QColor(), true);
    }

    void TableEnds() override { y_ += type_.Line(Body) * 0.3; }

  private:
    // The chain of headings and their paragraphs, laid out where the next piece (of height
    // next) fits after them.
    void LayPending(double next) {
        if (pending_.empty()) return;
        double height = next;
        for (const ReportBlock& block : pending_) height += BlockHeight(block);
        if (y_ > 0 && y_ + height > bodyHeight_) NewPage();
        for (const ReportBlock& block : pending_) LayBlock(block);
        pending_.clear();
    }

    struct TextStyle {
        FontRole font;
        double before;
        double after;
    };
    TextStyle StyleOf(ReportBlock::Kind kind) const {
        const double line = type_.Line(Body);
        switch (kind) {
            case ReportBlock::Title:
                return {TitleFont, 0, line * 0.5};
            case ReportBlock::Heading:
                return {HeadingFont, line * 1.2, line * 0.4};
            case ReportBlock::Subheading:
                return {SubheadingFont, line * 0.9, line * 0.2};
            default:
                return {Body, line * 0.3, line * 0.3};
        }
    }

    double BlockHeight(const ReportBlock& block) const {
        switch (block.kind) {
            case ReportBlock::Pairs: {
                double height = type_.Line(Body) * 0.3;
                const std::vector<double> left = Lefts(block.columns);
                for (const ReportRow& row : block.rows) height += RowHeight(row, left, Body);
                return height;
            }
            case ReportBlock::Signatures:
                return type_.Line(Body) * 10;
            default: {
                const TextStyle style = StyleOf(block.kind);
                return style.before + style.after +
                       type_.Line(style.font) *
                           type_.Wrap(block.text, style.font, paper_.width()).size();
            }
        }
    }

    void LayBlock(const ReportBlock& block) {
        if (y_ > 0 && y_ + BlockHeight(block) > bodyHeight_) NewPage();
        if (block.kind == ReportBlock::Pairs) {
            const std::vector<double> left = Lefts(block.columns);
            for (const ReportRow& row : block.rows) LayRow(left, row.cells, Body, QColor(), false);
            y_ += type_.Line(Body) * 0.3;
            return;
        }
        if (block.kind == ReportBlock::Signatures) return LaySignatures(block);
        const TextStyle style = StyleOf(block.kind);
        if (y_ > 0) y_ += style.before;
        for (const QString& text : type_.Wrap(block.text, style.font, paper_.width())) {
            Add({Piece::Text, QRectF(0, y_, paper_.width(), 0), style.font, text, {}});
            y_ += type_.Line(style.font);
        }
        y_ += style.after;
    }

    // "Ort, Datum:" with a line to write on, then a line to sign on for each party with its
    // label and name below.
    void LaySignatures(const ReportBlock& block) {
        const double line = type_.Line(Body);
        y_ += line;
        const double labelWidth = type_.Metrics(Body).horizontalAdvance(block.text) + line;
        Add({Piece::Text, QRectF(0, y_, labelWidth, 0), Body, block.text, {}});
        Add({Piece::Rule, QRectF(labelWidth, y_, paper_.width() * 0.5, line), Body, {}, {}});
        y_ += line * 4;
        // Each party's line: the technician's at the left, the customer's at the right.
        std::vector<double> lefts;
        for (int i = 0; i < block.columns.size(); ++i) {
            const double width = paper_.width() * block.columns[i].percent / 100.0;
            lefts.push_back(i == 0 ? 0 : paper_.width() - width);
            Add({Piece::Rule, QRectF(lefts.back(), y_ - line, width, line), Body, {}, {}});
        }
        y_ += line * 0.3;
        for (const ReportRow& row : block.rows) {
            for (int i = 0; i < row.cells.size() && i < int(lefts.size()); ++i)
                Add({Piece::Text, QRectF(lefts[size_t(i)], y_, 0, 0), Cell, row.cells[i], {}});
            y_ += type_.Line(Cell);
        }
        y_ += line;
    }

    std::vector<double> Lefts(const QList<ReportColumn>& columns) const {
        std::vector<double> left{0};
        for (const ReportColumn& column : columns)
            left.push_back(left.back() + paper_.width() * column.percent / 100.0);
        return left;
    }

    void Titles() {
        QStringList texts;
        for (const ReportColumn& column : table_.columns) texts << column.title;
        LayRow(left_, texts, CellBold, kTitleFill, true);
    }

    double TitleHeight() const {
        ReportRow titles;
        for (const ReportColumn& column : table_.columns) titles.cells << column.title;
        return RowHeight(titles, left_, CellBold);
    }

    double OneLineRow() const { return type_.Line(Cell) + 2 * kPaddingMm * px_; }

    FontRole CellFont(int column, FontRole font) const {
        return font == Cell && column < table_.columns.size() && table_.columns[column].code ? Code
                                                                                             : font;
    }

    QStringList CellLines(const std::vector<double>& left, const QStringList& cells, int column,
                          FontRole font) const {
        const double padding = kPaddingMm * px_;
        return type_.Wrap(cells.value(column), font,
                          left[size_t(column) + 1] - left[size_t(column)] - 2 * padding);
    }

    double RowHeight(const ReportRow& row) const {
        return row.group ? RowHeight(row, {left_.front(), left_.back()}, CellBold)
                         : RowHeight(row, left_, Cell);
    }

    double RowHeight(const ReportRow& row, const std::vector<double>& left, FontRole font) const {
        qsizetype lines = 1;
        for (int column = 0; column + 1 < int(left.size()); ++column)
            lines =
                std::max(lines, CellLines(left, row.cells, column, CellFont(column, font)).size());
        return lines * type_.Line(font) + 2 * kPaddingMm * px_;
    }

    void LayRow(const std::vector<double>& left, const QStringList& cells, FontRole font,
                const QColor& fill, bool framed) {
        const double padding = kPaddingMm * px_;
        // Each cell is measured once; the row is as high as its tallest cell.
        std::vector<QStringList> lines;
        qsizetype most = 1;
        for (int column = 0; column + 1 < int(left.size()); ++column) {
            lines.push_back(CellLines(left, cells, column, CellFont(column, font)));
            most = std::max(most, lines.back().size());
        }
        const double height = most * type_.Line(font) + 2 * padding;
        // Counting pages needs the heights alone.
        if (page_) {
            for (int column = 0; column + 1 < int(left.size()); ++column) {
                const QRectF box(left[size_t(column)], y_,
                                 left[size_t(column) + 1] - left[size_t(column)], height);
                if (fill.isValid()) Add({Piece::Fill, box, font, {}, fill});
                if (framed) Add({Piece::Frame, box, font, {}, {}});
                const FontRole shown = CellFont(column, font);
                double top = y_ + padding;
                for (const QString& line : lines[size_t(column)]) {
                    Add({Piece::Text, QRectF(box.left() + padding, top, 0, 0), shown, line, {}});
                    top += type_.Line(shown);
                }
            }
        }
        y_ += height;
    }

    void Add(Piece piece) {
        if (page_) pieces_.push_back(std::move(piece));
    }

    void EndPage() {
        if (page_) page_(pieces_, index_);
        pieces_.clear();
        ++index_;
    }

    void NewPage() {
        EndPage();
        y_ = 0;
    }

    const Typesetter& type_;
    QSizeF paper_;  // inside the margins
    double px_;     // device pixels per millimetre
    PageCall page_;
    double bodyHeight_ = 0;
    double y_ = 0;
    int index_ = 0;
    PagePieces pieces_;
    std::vector<ReportBlock> pending_;
    ReportTable table_;
    std::vector<double> left_{0};
};

// Draws one page's pieces, with its footer, the painter's origin at the top left of the margins.
void DrawPage(QPainter& painter, const Typesetter& type, const QSizeF& paper, double px,
              const PagePieces& pieces, int index, int count, const QString& program) {
    painter.save();
    for (const Piece& piece : pieces) {
        switch (piece.kind) {
            case Piece::Fill:
                painter.fillRect(piece.box, piece.color);
                break;
            case Piece::Frame:
                painter.setPen(QPen(kRuleColor, px * 0.15));
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(piece.box);
                break;
            case Piece::Rule:
                painter.setPen(QPen(Qt::black, px * 0.2));
                painter.drawLine(piece.box.bottomLeft(), piece.box.bottomRight());
                break;
            case Piece::Text:
                painter.setPen(Qt::black);
                for (const QGlyphRun& run : type.GlyphsOf(piece.font, piece.text))
                    painter.drawGlyphRun(piece.box.topLeft(), run);
                break;
        }
    }
    const QFontMetricsF& footer = type.Metrics(Footer);
    const QRectF line(0, paper.height() - footer.height(), paper.width(), footer.height());
    const double rule = line.top() - footer.height() * 0.5;
    painter.setPen(QPen(Qt::black, px * 0.2));
    painter.drawLine(QPointF(0, rule), QPointF(paper.width(), rule));
    painter.setFont(type.Font(Footer));
    painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, program);
    painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("Seite %1 von %2").arg(index + 1).arg(count));
    painter.restore();
}

// Sets the report twice: once to count its pages, once handing each page to draw with that
// count. The number of pages, or 0 with a German error.
int SetPages(const ReportHeader& header, ReportLines& lines, QPaintDevice& device,
             const QSizeF& paper,
             const std::function<void(const Typesetter&, const PagePieces&, int, int)>& draw,
             QString* error) {
    const Typesetter type(device);
    const double px = device.logicalDpiY() / kMmPerInch;
    ReportFacts facts;
    Pager counting(type, paper, px, nullptr);
    if (!TellReport(header, ReportFacts(), lines, counting, &facts, error)) return 0;
    const int count = counting.Finish();
    ReportFacts again;
    Pager drawing(type, paper, px,
                  [&](const PagePieces& pieces, int index) { draw(type, pieces, index, count); });
    if (!TellReport(header, facts, lines, drawing, &again, error)) return 0;
    return drawing.Finish();
}

}  // namespace

int PaintReport(const ReportHeader& header, ReportLines& lines, QPagedPaintDevice& device,
                QString* error) {
    device.setPageLayout(A4Layout());
    QPainter painter;
    if (!painter.begin(&device)) {
        *error = QStringLiteral("Der Bericht konnte nicht gesetzt werden.");
        return 0;
    }
    const QSizeF paper = device.pageLayout().paintRectPixels(device.logicalDpiX()).size();
    const double px = device.logicalDpiY() / kMmPerInch;
    const int pages = SetPages(
        header, lines, device, paper,
        [&](const Typesetter& type, const PagePieces& pieces, int index, int count) {
            if (index > 0) device.newPage();
            DrawPage(painter, type, paper, px, pieces, index, count, header.program);
        },
        error);
    painter.end();
    return pages;
}

int PaintReport(const Report& report, QPagedPaintDevice& device) {
    MemoryReportLines lines(report);
    QString error;
    return PaintReport(report.header, lines, device, &error);
}

int WriteReportPdf(const ReportHeader& header, ReportLines& lines, QIODevice& out, QString* error) {
    QPdfWriter writer(&out);
    writer.setResolution(kPdfResolution);
    writer.setTitle(QStringLiteral("Programmierprotokoll"));
    writer.setCreator(header.program);
    return PaintReport(header, lines, writer, error);
}

QByteArray ReportPdf(const Report& report, int* pages) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    MemoryReportLines lines(report);
    QString error;
    const int painted = WriteReportPdf(report.header, lines, buffer, &error);
    if (pages) *pages = painted;
    return painted > 0 ? buffer.data() : QByteArray();
}

QImage ReportPageImage(const Report& report, int dpi) {
    const QRect paper = A4Layout().fullRectPixels(dpi);
    QImage image(paper.size(), QImage::Format_RGB32);
    const int dotsPerMeter = qRound(dpi * 1000.0 / kMmPerInch);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QRect inside = A4Layout().paintRectPixels(dpi);
    painter.translate(inside.topLeft());
    MemoryReportLines lines(report);
    QString error;
    SetPages(
        report.header, lines, image, inside.size(),
        [&](const Typesetter& type, const PagePieces& pieces, int index, int count) {
            if (index == 0)
                DrawPage(painter, type, inside.size(), dpi / kMmPerInch, pieces, index, count,
                         report.header.program);
        },
        &error);
    return image;
}
