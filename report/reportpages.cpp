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
#include <vector>

#include "files/journal.h"
#include "report/reportblocks.h"

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

// One thing drawn on a page: a line of text at the top left of its box, a filled box, or a
// box's outline.
struct Piece {
    enum Kind { Text, Fill, Frame } kind;
    QRectF box;
    FontRole font = Body;
    QString text;
    QColor color;
};

// The report laid out for one paint device: blocks flowed into pages of the area inside the
// margins less the footer, tables broken between rows with their titles repeated, long texts
// wrapped at spaces or, where a word is longer than its column (a file name), anywhere.
class ReportPages {
  public:
    ReportPages(const Report& report, QPaintDevice& device, const QSizeF& paper)
        : paper_(paper),
          program_(report.header.program),
          px_(device.logicalDpiY() / kMmPerInch),
          device_(device) {
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
        bodyHeight_ = paper.height() - metrics_[Footer].height() * 2.5;
        pages_.emplace_back();
        for (const ReportBlock& block : ReportBlocks(report)) Lay(block);
    }

    int Count() const { return int(pages_.size()); }

    // Draws page index (from 0) with the painter's origin at the top left of the margins.
    void Draw(QPainter& painter, int index) const {
        painter.save();
        for (const Piece& piece : pages_[size_t(index)]) {
            switch (piece.kind) {
                case Piece::Fill:
                    painter.fillRect(piece.box, piece.color);
                    break;
                case Piece::Frame:
                    painter.setPen(QPen(kRuleColor, px_ * 0.15));
                    painter.setBrush(Qt::NoBrush);
                    painter.drawRect(piece.box);
                    break;
                case Piece::Text:
                    painter.setPen(Qt::black);
                    for (const QGlyphRun& run : GlyphsOf(piece.font, piece.text))
                        painter.drawGlyphRun(piece.box.topLeft(), run);
                    break;
            }
        }
        const QFontMetricsF& footer = metrics_[Footer];
        const QRectF line(0, paper_.height() - footer.height(), paper_.width(), footer.height());
        const double rule = line.top() - footer.height() * 0.5;
        painter.setPen(QPen(Qt::black, px_ * 0.2));
        painter.drawLine(QPointF(0, rule), QPointF(paper_.width(), rule));
        painter.setFont(fonts_[Footer]);
        painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, program_);
        painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("Seite %1 von %2").arg(index + 1).arg(Count()));
        painter.restore();
    }

  private:
    void Lay(const ReportBlock& block) {
        const double line = metrics_[Body].lineSpacing();
        switch (block.kind) {
            case ReportBlock::Title:
                return LayText(block.text, TitleFont, 0, line * 0.5);
            case ReportBlock::Heading:
                return LayText(block.text, HeadingFont, line * 1.2, line * 0.4, true);
            case ReportBlock::Subheading:
                return LayText(block.text, SubheadingFont, line * 0.9, line * 0.2, true);
            case ReportBlock::Paragraph:
                return LayText(block.text, Body, line * 0.3, line * 0.3);
            case ReportBlock::Table:
                return LayTable(block, true);
            case ReportBlock::Pairs:
                return LayTable(block, false);
        }
    }

    // keepWithNext: a heading does not stand alone at the foot of a page.
    void LayText(const QString& text, FontRole font, double before, double after,
                 bool keepWithNext = false) {
        const QStringList lines = Wrap(text, font, paper_.width());
        const double height = metrics_[size_t(font)].lineSpacing() * lines.size();
        const double kept = keepWithNext ? metrics_[Cell].lineSpacing() * 4 : 0;
        if (y_ > 0 && y_ + before + height + kept > bodyHeight_) NewPage();
        if (y_ > 0) y_ += before;
        for (const QString& text : lines) {
            Add({Piece::Text, QRectF(0, y_, paper_.width(), 0), font, text, {}});
            y_ += metrics_[size_t(font)].lineSpacing();
        }
        y_ += after;
    }

    void LayTable(const ReportBlock& block, bool grid) {
        std::vector<double> left{0};
        for (const ReportColumn& column : block.columns)
            left.push_back(left.back() + paper_.width() * column.percent / 100.0);
        const FontRole cell = grid ? Cell : Body;
        const auto titles = [&] {
            QStringList texts;
            for (const ReportColumn& column : block.columns) texts << column.title;
            return LayRow(left, texts, CellBold, kTitleFill, block.columns, false, true);
        };
        const bool hasTitles = grid && !block.columns.first().title.isEmpty();
        // The titles and the first row stay together.
        const double first =
            block.rows.isEmpty() ? 0 : RowHeight(left, block.rows[0], cell, block.columns);
        if (hasTitles && y_ + TitleHeight(left, block) + first > bodyHeight_) NewPage();
        if (hasTitles) titles();
        for (const ReportRow& row : block.rows) {
            if (y_ + RowHeight(left, row, cell, block.columns) > bodyHeight_) {
                NewPage();
                if (hasTitles) titles();
            }
            if (row.group)
                LayRow({left.front(), left.back()}, row.cells, CellBold, kGroupFill, {}, grid,
                       true);
            else
                LayRow(left, row.cells, cell, QColor(), block.columns, grid, grid);
        }
        y_ += metrics_[Body].lineSpacing() * 0.3;
    }

    double TitleHeight(const std::vector<double>& left, const ReportBlock& block) const {
        ReportRow titles;
        for (const ReportColumn& column : block.columns) titles.cells << column.title;
        return RowHeight(left, titles, CellBold, block.columns);
    }

    QStringList CellLines(const std::vector<double>& left, const QStringList& cells, int column,
                          FontRole font) const {
        const double padding = kPaddingMm * px_;
        // File names and record text: what is printed is what is stored.
        return Wrap(WithFormatCharactersEscaped(cells.value(column)), font,
                    left[size_t(column) + 1] - left[size_t(column)] - 2 * padding);
    }

    static FontRole CellFont(const QList<ReportColumn>& columns, int column, FontRole font) {
        return font == Cell && column < columns.size() && columns[column].code ? Code : font;
    }

    double RowHeight(const std::vector<double>& left, const ReportRow& row, FontRole font,
                     const QList<ReportColumn>& columns) const {
        if (row.group) font = CellBold;
        const int count = row.group ? 1 : int(left.size()) - 1;
        qsizetype lines = 1;
        for (int column = 0; column < count; ++column) {
            const std::vector<double> span =
                row.group ? std::vector<double>{left.front(), left.back()} : left;
            lines = std::max(
                lines, CellLines(span, row.cells, column, CellFont(columns, column, font)).size());
        }
        return lines * metrics_[size_t(font)].lineSpacing() + 2 * kPaddingMm * px_;
    }

    void LayRow(const std::vector<double>& left, const QStringList& cells, FontRole font,
                const QColor& fill, const QList<ReportColumn>& columns, bool grid, bool framed) {
        ReportRow row{cells, false};
        const double padding = kPaddingMm * px_;
        const double height = RowHeight(left, row, font, columns);
        for (int column = 0; column + 1 < int(left.size()); ++column) {
            const QRectF box(left[size_t(column)], y_,
                             left[size_t(column) + 1] - left[size_t(column)], height);
            if (fill.isValid()) Add({Piece::Fill, box, font, {}, fill});
            if (framed || grid) Add({Piece::Frame, box, font, {}, {}});
            const FontRole shown = CellFont(columns, column, font);
            double top = y_ + padding;
            for (const QString& line : CellLines(left, cells, column, shown)) {
                Add({Piece::Text, QRectF(box.left() + padding, top, 0, 0), shown, line, {}});
                top += metrics_[size_t(shown)].lineSpacing();
            }
        }
        y_ += height;
    }

    // The text in lines no wider than width: broken after a space or a "/" where one fits,
    // else (a word longer than the line) where the line is full.
    QStringList Wrap(const QString& text, FontRole font, double width) const {
        // The same labels and values come back in every configuration and every row's height
        // is asked more than once: measuring text is what setting pages costs most.
        const QString key = QString::number(font) + '|' + QString::number(width) + '|' + text;
        const auto known = wrapped_.constFind(key);
        if (known != wrapped_.cend()) return *known;
        return wrapped_[key] = Measured(text, font, width);
    }

    // The text shaped once into glyphs, its baseline at the font's ascent: the same labels,
    // values and titles are drawn thousands of times.
    const QList<QGlyphRun>& GlyphsOf(FontRole font, const QString& text) const {
        const QString key = QString::number(font) + '|' + text;
        const auto known = glyphs_.constFind(key);
        if (known != glyphs_.cend()) return *known;
        QTextLayout layout(text, fonts_[size_t(font)], &device_);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        return glyphs_[key] = layout.glyphRuns();
    }

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
            // After a space, or after a folder's "/" in a path.
            const qsizetype space =
                std::max(rest.lastIndexOf(' ', low), rest.lastIndexOf('/', low - 1));
            const qsizetype cut = space > 0 ? space + 1 : low;
            lines << rest.left(cut).trimmed();
            rest = rest.mid(cut);
        }
        return lines;
    }

    void Add(Piece piece) { pages_.back().push_back(std::move(piece)); }

    void NewPage() {
        pages_.emplace_back();
        y_ = 0;
    }

    QSizeF paper_;  // inside the margins
    QString program_;
    double px_;  // device pixels per millimetre
    double bodyHeight_ = 0;
    double y_ = 0;
    std::vector<QFont> fonts_;
    std::vector<QFontMetricsF> metrics_;
    std::vector<std::vector<Piece>> pages_;
    mutable QHash<QString, QStringList> wrapped_;
    mutable QHash<QString, QList<QGlyphRun>> glyphs_;
    QPaintDevice& device_;
};

}  // namespace

int PaintReport(const Report& report, QPagedPaintDevice& device) {
    device.setPageLayout(A4Layout());
    QPainter painter;
    if (!painter.begin(&device)) return 0;
    const ReportPages pages(report, device,
                            device.pageLayout().paintRectPixels(device.logicalDpiX()).size());
    for (int index = 0; index < pages.Count(); ++index) {
        if (index > 0) device.newPage();
        pages.Draw(painter, index);
    }
    painter.end();
    return pages.Count();
}

QByteArray ReportPdf(const Report& report, int* pages) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    int painted = 0;
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfResolution);
        writer.setTitle(QStringLiteral("Programmierprotokoll"));
        writer.setCreator(report.header.program);
        painted = PaintReport(report, writer);
    }
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
    const ReportPages pages(report, image, inside.size());
    painter.translate(inside.topLeft());
    pages.Draw(painter, 0);
    return image;
}
