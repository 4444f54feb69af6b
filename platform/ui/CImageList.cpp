#include "platform/ui/CImageList.h"

#include "platform/gdi/gdi_qt.h"

#include <QBuffer>
#include <QIcon>
#include <QImageReader>
#include <QImage>
#include <QPainter>
#include <QStringList>

#include <cstring>
#include <map>
#include <string>

namespace {

std::map<unsigned, QImage>& IconTable()
{
    static std::map<unsigned, QImage> table;
    return table;
}

QImage Placeholder(int cx, int cy)
{
    QImage image(cx, cy, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(1, 1, cx - 3, cy - 3);
    return image;
}

std::map<unsigned, std::string>& ThemeIconTable()
{
    static std::map<unsigned, std::string> table;
    return table;
}

QImage ThemeImage(const std::string& name, int cx, int cy)
{
    // Without a desktop (tests, a bare X server) Qt names no theme or only
    // the fallback one, which has none of these icons; the offscreen
    // platform does not even look in the system's icon folders.
    const QString theme = QIcon::themeName();
    if (theme.isEmpty() || theme == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("breeze"));
    QStringList paths = QIcon::themeSearchPaths();
    const QByteArray dirs = qgetenv("XDG_DATA_DIRS");
    for (const QString& dir : QString::fromLocal8Bit(dirs.isEmpty() ? QByteArray("/usr/local/share:/usr/share") : dirs)
                                  .split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        const QString icons = dir + QStringLiteral("/icons");
        if (!paths.contains(icons))
            paths << icons;
    }
    if (paths != QIcon::themeSearchPaths())
        QIcon::setThemeSearchPaths(paths);
    const QIcon icon = QIcon::fromTheme(QString::fromStdString(name));
    if (icon.isNull())
        return QImage();
    QImage image(cx, cy, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    icon.paint(&painter, QRect(0, 0, cx, cy));
    return image;
}

std::map<unsigned, const char*>& SvgIconTable()
{
    static std::map<unsigned, const char*> table;
    return table;
}

// Through Qt's SVG image plugin: drawn at the target size, not scaled.
QImage SvgImage(const char* svg, int cx, int cy)
{
    QByteArray bytes = QByteArray::fromRawData(svg, int(std::strlen(svg)));
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "svg");
    reader.setScaledSize(QSize(cx, cy));
    QImage image = reader.read();
    return image.isNull() ? image : image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

void RegisterSvgIcon(unsigned resourceId, const char* svgText)
{
    SvgIconTable()[resourceId] = svgText;
}

void RegisterThemeIcon(unsigned resourceId, const char* themeName)
{
    ThemeIconTable()[resourceId] = themeName;
}

void RegisterIconImage(unsigned resourceId, int width, int height, const std::uint32_t* argb)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        std::copy(argb + y * width, argb + (y + 1) * width, reinterpret_cast<std::uint32_t*>(image.scanLine(y)));
    IconTable()[resourceId] = image;
}

CImageList::CImageList() = default;
CImageList::~CImageList() = default;

bool CImageList::Create(int cx, int cy, unsigned, int initial, int)
{
    if (cx <= 0 || cy <= 0)
        return false;
    m_cx = cx;
    m_cy = cy;
    m_images.clear();
    m_images.reserve(size_t(std::max(0, initial)));
    return true;
}

bool CImageList::DeleteImageList()
{
    m_images.clear();
    m_cx = m_cy = 0;
    return true;
}

int CImageList::GetImageCount() const
{
    return int(m_images.size());
}

int CImageList::AddIcon(unsigned resourceId)
{
    if (m_cx <= 0)
        return -1;
    const auto it = IconTable().find(resourceId);
    QImage image;
    if (it != IconTable().end()) {
        image = it->second.scaled(m_cx, m_cy, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    } else if (const auto svg = SvgIconTable().find(resourceId); svg != SvgIconTable().end()) {
        image = SvgImage(svg->second, m_cx, m_cy);
    } else if (const auto named = ThemeIconTable().find(resourceId); named != ThemeIconTable().end()) {
        image = ThemeImage(named->second, m_cx, m_cy);
    }
    if (image.isNull())
        image = Placeholder(m_cx, m_cy);
    m_images.push_back(std::make_shared<QImage>(std::move(image)));
    return int(m_images.size()) - 1;
}

int CImageList::Add(HBITMAP bitmap, COLORREF maskColor)
{
    QImage source = BitmapImage(bitmap);
    if (m_cx <= 0 || source.isNull())
        return -1;
    QImage image = source.convertToFormat(QImage::Format_ARGB32).scaled(m_cx, m_cy);
    if (maskColor != CLR_INVALID) {
        const QRgb key = ToQColor(maskColor).rgb();
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                if ((line[x] | 0xFF000000u) == key)
                    line[x] = 0;
            }
        }
    }
    m_images.push_back(std::make_shared<QImage>(std::move(image)));
    return int(m_images.size()) - 1;
}

QImage CImageList::ImageAt(int index) const
{
    if (index < 0 || index >= int(m_images.size()))
        return QImage();
    return *m_images[size_t(index)];
}
