#include "bench/heavy_drawing.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <utility>

namespace {

constexpr double kPi = 3.14159265358979323846;

class DxfWriter {
public:
    explicit DxfWriter(std::string& out) : m_out(out) {}

    void Pair(int code, const char* value)
    {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%3d\n", code);
        m_out += buffer;
        m_out += value;
        m_out += '\n';
    }
    void Pair(int code, double value)
    {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.6f", value);
        Pair(code, buffer);
    }
    void Pair(int code, int value) { Pair(code, std::to_string(value).c_str()); }
    // Type, handle, layer and the two subclass markers every entity carries.
    void Entity(const char* type, const char* layer, const char* subclass)
    {
        char handle[32];
        std::snprintf(handle, sizeof handle, "%X", m_handle++);
        Pair(0, type);
        Pair(5, handle);
        Pair(100, "AcDbEntity");
        Pair(8, layer);
        Pair(100, subclass);
    }

private:
    std::string& m_out;
    int m_handle = 0x100;
};

struct Shapes {
    std::mt19937 rng{20240611};
    double Uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); }
    double X() { return Uniform(0, kHeavyWidthMm); }
    double Y() { return Uniform(0, kHeavyHeightMm); }

    void Line(DxfWriter& w)
    {
        const double x = X(), y = Y(), length = Uniform(1, 60), angle = Uniform(0, 2 * kPi);
        w.Entity("LINE", "CUT", "AcDbLine");
        w.Pair(10, x);
        w.Pair(20, y);
        w.Pair(30, 0.0);
        w.Pair(11, x + length * std::cos(angle));
        w.Pair(21, y + length * std::sin(angle));
        w.Pair(31, 0.0);
    }
    void Arc(DxfWriter& w)
    {
        const double x = X(), y = Y(), r = Uniform(0.5, 40), start = Uniform(0, 360), sweep = Uniform(10, 300);
        w.Entity("ARC", "AUX", "AcDbCircle");
        w.Pair(10, x);
        w.Pair(20, y);
        w.Pair(30, 0.0);
        w.Pair(40, r);
        w.Pair(100, "AcDbArc");
        w.Pair(50, start);
        w.Pair(51, std::fmod(start + sweep, 360.0));
    }
    void Circle(DxfWriter& w)
    {
        const double x = X(), y = Y(), r = Uniform(0.5, 25);
        w.Entity("CIRCLE", "MARK", "AcDbCircle");
        w.Pair(10, x);
        w.Pair(20, y);
        w.Pair(30, 0.0);
        w.Pair(40, r);
    }
    // A closed outline around a random centre; every second vertex starts
    // an arc segment.
    void Polyline(DxfWriter& w)
    {
        const double cx = X(), cy = Y(), size = Uniform(5, 40);
        const int n = 8 + static_cast<int>(rng() % 9);
        w.Entity("LWPOLYLINE", "CUT", "AcDbPolyline");
        w.Pair(90, n);
        w.Pair(70, 1);
        for (int k = 0; k < n; ++k) {
            const double angle = 2 * kPi * k / n, radius = size * Uniform(0.7, 1.0);
            w.Pair(10, cx + radius * std::cos(angle));
            w.Pair(20, cy + radius * std::sin(angle));
            if (k % 2 == 1)
                w.Pair(42, Uniform(-0.6, 0.6));
        }
    }
};

// Cut contours red, auxiliary arcs green, marks blue.
void Layers(DxfWriter& w)
{
    w.Pair(0, "SECTION");
    w.Pair(2, "TABLES");
    w.Pair(0, "TABLE");
    w.Pair(2, "LAYER");
    w.Pair(70, 3);
    for (const auto& [name, colour] : {std::pair{"CUT", 1}, {"AUX", 3}, {"MARK", 5}}) {
        w.Pair(0, "LAYER");
        w.Pair(2, name);
        w.Pair(70, 0);
        w.Pair(62, colour);
        w.Pair(6, "CONTINUOUS");
    }
    w.Pair(0, "ENDTAB");
    w.Pair(0, "ENDSEC");
}

} // namespace

std::string HeavyDxfText(int count)
{
    std::string text;
    text.reserve(static_cast<std::size_t>(count) * 170 + 1024);
    DxfWriter w(text);
    w.Pair(0, "SECTION");
    w.Pair(2, "HEADER");
    w.Pair(9, "$ACADVER");
    w.Pair(1, "AC1015");
    w.Pair(9, "$INSUNITS");
    w.Pair(70, 4);
    w.Pair(0, "ENDSEC");
    Layers(w);
    w.Pair(0, "SECTION");
    w.Pair(2, "ENTITIES");
    Shapes shapes;
    for (int i = 0; i < count; ++i) {
        const int kind = i % 127;
        if (kind < 100)
            shapes.Line(w);
        else if (kind < 120)
            shapes.Arc(w);
        else if (kind < 125)
            shapes.Circle(w);
        else
            shapes.Polyline(w);
    }
    w.Pair(0, "ENDSEC");
    w.Pair(0, "EOF");
    return text;
}

bool WriteHeavyDxf(const std::string& path, int count)
{
    const std::string text = HeavyDxfText(count);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr)
        return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && written;
}

const std::string& HeavyDxfFile()
{
    static const std::string path = [] {
        char folder[] = "/tmp/zorva-heavy-XXXXXX";
        if (mkdtemp(folder) == nullptr)
            return std::string();
        const std::string file = std::string(folder) + "/heavy.dxf";
        return WriteHeavyDxf(file, kHeavyShapes) ? file : std::string();
    }();
    return path;
}
