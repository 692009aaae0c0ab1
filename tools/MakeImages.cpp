// Draws the program's images into a folder, at build time: the wizard's watermark (wizard1.png,
// and wizard1@2x.png for screens at 200%) and the application icon (veltrane.png; its scalable
// twin is src/ui/desktop/veltrane.svg). Shapes only, no fonts.
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>

namespace {

const QColor kDeep(22, 44, 92);
const QColor kTeal(24, 160, 170);
const QColor kLight(240, 248, 250);

// A quaver: a filled head, a stem and a flag, with its head's centre at aX, aY.
void drawNote(QPainter& aPainter, double aX, double aY, double aSize, const QColor& aColour)
{
    aPainter.setPen(Qt::NoPen);
    aPainter.setBrush(aColour);
    aPainter.save();
    aPainter.translate(aX, aY);
    aPainter.rotate(-20);
    aPainter.drawEllipse(QRectF(-aSize * 0.32, -aSize * 0.22, aSize * 0.64, aSize * 0.44));
    aPainter.restore();
    const double stemX = aX + aSize * 0.26;
    aPainter.drawRect(QRectF(stemX, aY - aSize * 1.25, aSize * 0.1, aSize * 1.25));
    QPainterPath flag;
    flag.moveTo(stemX + aSize * 0.1, aY - aSize * 1.25);
    flag.cubicTo(stemX + aSize * 0.55, aY - aSize * 0.95, stemX + aSize * 0.6, aY - aSize * 0.7,
                 stemX + aSize * 0.38, aY - aSize * 0.45);
    flag.cubicTo(stemX + aSize * 0.45, aY - aSize * 0.75, stemX + aSize * 0.3, aY - aSize * 0.9,
                 stemX + aSize * 0.1, aY - aSize * 0.95);
    flag.closeSubpath();
    aPainter.drawPath(flag);
}

// Two arcs with arrow heads: the sync sign, centred at aCentre.
void drawSync(QPainter& aPainter, QPointF aCentre, double aRadius, const QColor& aColour)
{
    QPen pen(aColour, aRadius * 0.16, Qt::SolidLine, Qt::RoundCap);
    aPainter.setPen(pen);
    aPainter.setBrush(Qt::NoBrush);
    const QRectF circle(aCentre.x() - aRadius, aCentre.y() - aRadius, 2 * aRadius, 2 * aRadius);
    aPainter.drawArc(circle, 30 * 16, 120 * 16);
    aPainter.drawArc(circle, 210 * 16, 120 * 16);
    aPainter.setPen(Qt::NoPen);
    aPainter.setBrush(aColour);
    const double h = aRadius * 0.35;
    for (int side : {0, 1}) {
        const QPointF tip = side == 0 ? QPointF(aCentre.x() + aRadius * 0.87, aCentre.y() - aRadius * 0.5)
                                      : QPointF(aCentre.x() - aRadius * 0.87, aCentre.y() + aRadius * 0.5);
        const double direction = side == 0 ? 1 : -1;
        QPolygonF head;
        head << tip + QPointF(direction * h * 0.7, h * 0.2) << tip + QPointF(-direction * h * 0.8, -h * 0.1)
             << tip + QPointF(direction * h * 0.2, -direction * h * 0.9 * direction);
        aPainter.drawPolygon(head);
    }
}

// The watermark is 164 x 314 points, drawn at aScale pixels a point.
bool watermark(const QString& aPath, int aScale)
{
    QImage image(164 * aScale, 314 * aScale, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(aScale, aScale);
    QLinearGradient background(0, 0, 0, 314);
    background.setColorAt(0, kDeep);
    background.setColorAt(1, kTeal);
    painter.fillRect(QRectF(0, 0, 164, 314), background);
    // A phone: a rounded body with a screen.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(10, 18, 36));
    painter.drawRoundedRect(QRectF(42, 70, 80, 150), 12, 12);
    QLinearGradient screen(0, 80, 0, 210);
    screen.setColorAt(0, kLight);
    screen.setColorAt(1, QColor(190, 225, 232));
    painter.setBrush(screen);
    painter.drawRoundedRect(QRectF(48, 82, 68, 122), 4, 4);
    drawNote(painter, 76, 168, 40, kDeep);
    drawSync(painter, QPointF(82, 262), 22, kLight);
    painter.end();
    return image.save(aPath, "PNG");
}

bool icon(const QString& aPath)
{
    QImage image(256, 256, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 256, 256);
    background.setColorAt(0, kDeep);
    background.setColorAt(1, kTeal);
    painter.setPen(Qt::NoPen);
    painter.setBrush(background);
    painter.drawRoundedRect(QRectF(8, 8, 240, 240), 48, 48);
    drawSync(painter, QPointF(128, 128), 84, QColor(255, 255, 255, 90));
    drawNote(painter, 112, 170, 110, kLight);
    painter.end();
    return image.save(aPath, "PNG");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: veltrane-make-images FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    return watermark(folder + QStringLiteral("/wizard1.png"), 1) &&
                   watermark(folder + QStringLiteral("/wizard1@2x.png"), 2) &&
                   icon(folder + QStringLiteral("/veltrane.png"))
               ? 0
               : 1;
}
