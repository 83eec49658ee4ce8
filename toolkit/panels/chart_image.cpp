#include "toolkit/panels/chart_image.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>

#include "toolkit/panels/popup_answerer.h"
#include "toolkit/panels/popups.h"
#include "toolkit/panels/types.h"
#include "toolkit/platform/file_system.h"

namespace {

constexpr int kPathSize = 512;  // FileSelectPopup's buffer
constexpr double kPixelsPerInch = 96;
constexpr double kPointsPerInch = 72;

void (*reporter)(const char*) = nullptr;

QSpinBox* sizeBox(int value, int least, int most, const QString& name, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setRange(least, most);
    box->setValue(std::clamp(value, least, most));
    box->setSuffix(QObject::tr(" px"));
    box->setAccessibleName(name);
    return box;
}

QString describe(const ChartImageChoice& choice) {
    return QStringLiteral("%1 × %2 %3")
        .arg(choice.size.width())
        .arg(choice.size.height())
        .arg(choice.pdf ? QStringLiteral("PDF") : QStringLiteral("PNG"));
}

bool writePdf(QSaveFile& out, const ChartImageChoice& choice, const ChartPainter& paint,
              const QString& title) {
    QPdfWriter pdf(&out);
    pdf.setResolution(static_cast<int>(kPixelsPerInch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setPageSize(QPageSize(QSizeF(choice.size) * (kPointsPerInch / kPixelsPerInch),
                              QPageSize::Point, QString(), QPageSize::ExactMatch));
    pdf.setTitle(title);
    pdf.setCreator(QStringLiteral("Quorvel"));
    QPainter p;
    if (!p.begin(&pdf))
        return false;
    paint(p, QRect(QPoint(0, 0), QSize(pdf.width(), pdf.height())));
    return p.end();
}

}  // namespace

bool chooseChartImage(QWidget* parent, ChartImageChoice& choice) {
    if (PopupAnswerer* answerer = InstalledPopupAnswerer()) {
        int width = choice.size.width(), height = choice.size.height();
        if (!answerer->chartImage(choice.pdf, width, height))
            return false;
        choice.size = QSize(width, height);
        return true;
    }
    QDialog dialog(parent);
    dialog.setWindowTitle(QObject::tr("Save chart image"));
    dialog.setAccessibleName(dialog.windowTitle());
    auto* format = new QComboBox(&dialog);
    format->addItem(QObject::tr("PNG image"));
    format->addItem(QObject::tr("PDF document (vector)"));
    format->setCurrentIndex(choice.pdf ? 1 : 0);
    format->setAccessibleName(QObject::tr("Format"));
    auto* width = sizeBox(choice.size.width(), kSmallestChartImage.width(),
                          kLargestChartImage.width(), QObject::tr("Width"), &dialog);
    auto* height = sizeBox(choice.size.height(), kSmallestChartImage.height(),
                           kLargestChartImage.height(), QObject::tr("Height"), &dialog);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, &dialog);
    QPushButton* save =
        buttons->addButton(QObject::tr("Choose file…"), QDialogButtonBox::AcceptRole);
    save->setDefault(true);
    auto* form = new QFormLayout(&dialog);
    form->addRow(QObject::tr("&Format:"), format);
    form->addRow(QObject::tr("&Width:"), width);
    form->addRow(QObject::tr("&Height:"), height);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    QGuiApplication::restoreOverrideCursor();
    if (!accepted)
        return false;
    choice.pdf = format->currentIndex() == 1;
    choice.size = QSize(width->value(), height->value());
    return true;
}

QString writeChartImage(const QString& path, const ChartImageChoice& choice,
                        const ChartPainter& paint, const QString& title) {
    const QByteArray local = QFile::encodeName(path);
    const PathKind kind = GetPathKind(local.constData());
    if (kind != PathKind::Absent && kind != PathKind::Regular)
        return QStringLiteral("%1 is %2").arg(path, QString::fromUtf8(PathKindWords(kind)));
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write %1: %2").arg(path, out.errorString());
    bool written = false;
    if (choice.pdf) {
        written = writePdf(out, choice, paint, title);
    } else {
        QImage image(choice.size, QImage::Format_ARGB32_Premultiplied);
        if (image.isNull())
            return QStringLiteral("there is not enough memory for an image of %1 × %2 pixels")
                .arg(choice.size.width())
                .arg(choice.size.height());
        image.fill(Qt::white);
        {
            QPainter p(&image);
            paint(p, image.rect());
        }
        written = image.save(&out, "PNG");
    }
    if (!written || !out.commit())
        return QStringLiteral("cannot write %1: %2").arg(path, out.errorString());
    return {};
}

QString saveChartImage(QWidget* parent, QSize shown, const QString& proposedName,
                       const QString& title, const ChartPainter& paint) {
    ChartImageChoice choice;
    choice.size = shown.expandedTo(kSmallestChartImage).boundedTo(kLargestChartImage);
    if (!chooseChartImage(parent, choice))
        return {};
    const QString proposed =
        proposedName + (choice.pdf ? QStringLiteral(".pdf") : QStringLiteral(".png"));
    char chosen[kPathSize] = {};
    const int result =
        FileSelectPopup("", proposed.toUtf8().constData(), choice.pdf ? "*.pdf" : "*.png",
                        "Save chart image", VAL_SAVE_BUTTON, 0, 1, 1, 1, chosen);
    if (result <= 0)
        return {};
    const QString path = QFile::decodeName(chosen);
    const QString problem = writeChartImage(path, choice, paint, title);
    if (!problem.isEmpty())
        return QStringLiteral("chart image not saved: %1").arg(problem);
    return QStringLiteral("chart image saved to %1 (%2)").arg(path, describe(choice));
}

void SetChartImageReporter(void (*report)(const char* line)) {
    reporter = report;
}

void reportChartImageLine(const QString& line) {
    if (line.isEmpty())
        return;
    if (reporter)
        reporter(line.toUtf8().constData());
    else
        MessagePopup("Save chart image", line.toUtf8().constData());
}
