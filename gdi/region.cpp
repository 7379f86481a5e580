// Regions as y-x bands: horizontal bands of equal rows, each a sorted list of disjoint runs.
//
// Region coordinates live in [-kRegionLimit, kRegionLimit], twice the largest surface on each
// side; whatever a caller asks for outside that square is dropped.
#include <algorithm>
#include <atomic>
#include <cstdint>

#include "gdi/gdi.hpp"

namespace gdi {

namespace {

constexpr std::int64_t kRegionLimit = 65536;

std::atomic<std::int64_t> g_liveRegions{0};

struct Run {
    std::int32_t x0 = 0;
    std::int32_t x1 = 0;
    friend bool operator==(const Run&, const Run&) = default;
};
using Runs = std::vector<Run>;

struct Band {
    std::int32_t y0 = 0;
    std::int32_t y1 = 0;
    Runs runs;
};

std::int32_t ClampCoord(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp(v, -kRegionLimit, kRegionLimit));
}

}  // namespace

struct Region::Data {
    Data() { g_liveRegions.fetch_add(1, std::memory_order_relaxed); }
    Data(const Data&) = delete;
    Data& operator=(const Data&) = delete;
    ~Data() { g_liveRegions.fetch_sub(1, std::memory_order_relaxed); }
    std::vector<Band> bands;
};

namespace {

// Appends a band, merging it with the previous one when they touch and have the same runs.
void AppendBand(std::vector<Band>& bands, std::int32_t y0, std::int32_t y1, Runs runs) {
    if (runs.empty() || y0 >= y1) return;
    if (!bands.empty() && bands.back().y1 == y0 && bands.back().runs == runs) {
        bands.back().y1 = y1;
        return;
    }
    bands.push_back({y0, y1, std::move(runs)});
}

// Adds [x0, x1) to sorted runs, joining runs that touch.
void AppendRun(Runs& runs, std::int32_t x0, std::int32_t x1) {
    if (x0 >= x1) return;
    if (!runs.empty() && runs.back().x1 >= x0) {
        runs.back().x1 = std::max(runs.back().x1, x1);
        return;
    }
    runs.push_back({x0, x1});
}

bool Covers(const Runs& runs, std::size_t& cursor, std::int32_t x) {
    while (cursor < runs.size() && runs[cursor].x1 <= x) ++cursor;
    return cursor < runs.size() && runs[cursor].x0 <= x;
}

template <typename Op>
Runs CombineRuns(const Runs& a, const Runs& b, Op op) {
    std::vector<std::int32_t> edges;
    edges.reserve(2 * (a.size() + b.size()));
    for (const Run& r : a) edges.insert(edges.end(), {r.x0, r.x1});
    for (const Run& r : b) edges.insert(edges.end(), {r.x0, r.x1});
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    Runs out;
    std::size_t ca = 0;
    std::size_t cb = 0;
    for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
        const bool inA = Covers(a, ca, edges[i]);
        const bool inB = Covers(b, cb, edges[i]);
        if (op(inA, inB)) AppendRun(out, edges[i], edges[i + 1]);
    }
    return out;
}

const Runs* RunsAt(const std::vector<Band>& bands, std::size_t& cursor, std::int32_t y) {
    while (cursor < bands.size() && bands[cursor].y1 <= y) ++cursor;
    if (cursor < bands.size() && bands[cursor].y0 <= y) return &bands[cursor].runs;
    return nullptr;
}

template <typename Op>
std::vector<Band> CombineBands(const std::vector<Band>& a, const std::vector<Band>& b, Op op) {
    std::vector<std::int32_t> edges;
    for (const Band& band : a) edges.insert(edges.end(), {band.y0, band.y1});
    for (const Band& band : b) edges.insert(edges.end(), {band.y0, band.y1});
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    static const Runs kNone;
    std::vector<Band> out;
    std::size_t ca = 0;
    std::size_t cb = 0;
    for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
        const Runs* ra = RunsAt(a, ca, edges[i]);
        const Runs* rb = RunsAt(b, cb, edges[i]);
        AppendBand(out, edges[i], edges[i + 1],
                   CombineRuns(ra ? *ra : kNone, rb ? *rb : kNone, op));
    }
    return out;
}

Region MakeRegion(std::vector<Band> bands) {
    auto data = std::make_shared<Region::Data>();
    data->bands = std::move(bands);
    return Region(std::move(data));
}

// ---- Polygon scan conversion ------------------------------------------------------------------

__extension__ using Wide = __int128;  // products of two 33-bit differences

struct Edge {
    std::int64_t yTop = 0;     // first row crossed
    std::int64_t yBottom = 0;  // first row not crossed
    std::int64_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    int direction = 0;  // +1 going down, -1 going up
};

struct Crossing {
    std::int64_t x = 0;
    int direction = 0;
};

// ceil of the exact x of the edge on row y.
std::int64_t CrossingX(const Edge& e, std::int64_t y) {
    const Wide num = Wide(y - e.y0) * Wide(e.x1 - e.x0);
    const Wide den = e.y1 - e.y0;
    Wide q = num / den;
    if ((num % den != 0) && ((num < 0) == (den < 0))) ++q;
    return std::int64_t(std::clamp<Wide>(e.x0 + q, -kRegionLimit, kRegionLimit));
}

Runs RowRuns(std::vector<Crossing>& crossings, int fillMode) {
    std::sort(crossings.begin(), crossings.end(),
              [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
    Runs runs;
    if (fillMode == ALTERNATE) {
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            AppendRun(runs, ClampCoord(crossings[i].x), ClampCoord(crossings[i + 1].x));
        }
        return runs;
    }
    int winding = 0;
    std::int64_t start = 0;
    for (const Crossing& c : crossings) {
        const int before = winding;
        winding += c.direction;
        if (before == 0 && winding != 0) start = c.x;
        if (before != 0 && winding == 0) AppendRun(runs, ClampCoord(start), ClampCoord(c.x));
    }
    return runs;
}

std::vector<Edge> PolygonEdges(std::span<const POINT> points) {
    std::vector<Edge> edges;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const POINT p = points[i];
        const POINT q = points[(i + 1) % points.size()];
        if (p.y == q.y) continue;  // horizontal edges never cross a row
        Edge e;
        e.x0 = p.x, e.y0 = p.y, e.x1 = q.x, e.y1 = q.y;
        e.direction = q.y > p.y ? 1 : -1;
        e.yTop = std::min<std::int64_t>(p.y, q.y);
        e.yBottom = std::max<std::int64_t>(p.y, q.y);
        edges.push_back(e);
    }
    std::sort(edges.begin(), edges.end(),
              [](const Edge& l, const Edge& r) { return l.yTop < r.yTop; });
    return edges;
}

}  // namespace

// ---- Region -----------------------------------------------------------------------------------

Region::Region() {
    static const std::shared_ptr<const Data> none = std::make_shared<const Data>();
    d_ = none;
}

Region::Region(std::shared_ptr<const Data> d) : d_(std::move(d)) {
    if (!d_) *this = Region();
}

bool Region::PtInRegion(std::int32_t x, std::int32_t y) const {
    const auto& bands = d_->bands;
    auto band = std::upper_bound(bands.begin(), bands.end(), y,
                                 [](std::int32_t v, const Band& b) { return v < b.y1; });
    if (band == bands.end() || band->y0 > y) return false;
    auto run = std::upper_bound(band->runs.begin(), band->runs.end(), x,
                                [](std::int32_t v, const Run& r) { return v < r.x1; });
    return run != band->runs.end() && run->x0 <= x;
}

std::vector<RowSpan> Region::Spans() const {
    return Spans(RECT{std::int32_t(-kRegionLimit), std::int32_t(-kRegionLimit),
                      std::int32_t(kRegionLimit), std::int32_t(kRegionLimit)});
}

std::vector<RowSpan> Region::Spans(const RECT& clip) const {
    std::vector<RowSpan> spans;
    for (const Band& band : d_->bands) {
        const std::int32_t y0 = std::max(band.y0, clip.top);
        const std::int32_t y1 = std::min(band.y1, clip.bottom);
        for (std::int32_t y = y0; y < y1; ++y) {
            for (const Run& run : band.runs) {
                const std::int32_t x0 = std::max(run.x0, clip.left);
                const std::int32_t x1 = std::min(run.x1, clip.right);
                if (x0 < x1) spans.push_back({y, x0, x1});
            }
        }
    }
    return spans;
}

RECT Region::Box() const {
    const auto& bands = d_->bands;
    if (bands.empty()) return {};
    RECT box{bands.front().runs.front().x0, bands.front().y0, bands.front().runs.back().x1,
             bands.back().y1};
    for (const Band& band : bands) {
        box.left = std::min(box.left, band.runs.front().x0);
        box.right = std::max(box.right, band.runs.back().x1);
    }
    return box;
}

bool Region::empty() const {
    return d_->bands.empty();
}

int Region::Kind() const {
    const auto& bands = d_->bands;
    if (bands.empty()) return NULLREGION;
    if (bands.size() == 1 && bands.front().runs.size() == 1) return SIMPLEREGION;
    return COMPLEXREGION;
}

std::int64_t Region::LiveCount() {
    return g_liveRegions.load(std::memory_order_relaxed);
}

Region CreateRectRgn(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    const std::int32_t x0 = ClampCoord(std::min(left, right));
    const std::int32_t x1 = ClampCoord(std::max(left, right));
    const std::int32_t y0 = ClampCoord(std::min(top, bottom));
    const std::int32_t y1 = ClampCoord(std::max(top, bottom));
    std::vector<Band> bands;
    if (x0 < x1) AppendBand(bands, y0, y1, Runs{{x0, x1}});
    return MakeRegion(std::move(bands));
}

// A pixel is inside when its top-left corner is: each row is sampled on its top line, and an
// edge crossing it at exact x starts or ends the fill at ceil(x).
Region CreatePolygonRgn(std::span<const POINT> points, int fillMode) {
    return CreatePolygonRgn(points, fillMode,
                            RECT{std::int32_t(-kRegionLimit), std::int32_t(-kRegionLimit),
                                 std::int32_t(kRegionLimit), std::int32_t(kRegionLimit)});
}

// Only the rows of `visible` are scanned, so the work follows what can be shown and the edges,
// never the distance between far-apart vertices. Where every edge crossing a row is vertical the
// rows down to the next vertex are alike and are taken as one band.
Region CreatePolygonRgn(std::span<const POINT> points, int fillMode, const RECT& visible) {
    if (fillMode != ALTERNATE && fillMode != WINDING) return Region();
    if (points.size() < 3) return Region();
    const std::vector<Edge> edges = PolygonEdges(points);
    if (edges.empty()) return Region();

    std::int64_t yMin = edges.front().yTop;
    std::int64_t yMax = yMin;
    for (const Edge& e : edges) yMax = std::max(yMax, e.yBottom);
    yMin = std::max({yMin, -kRegionLimit, std::int64_t(visible.top)});
    yMax = std::min({yMax, kRegionLimit, std::int64_t(visible.bottom)});
    const std::int32_t left = ClampCoord(visible.left);
    const std::int32_t right = ClampCoord(visible.right);

    std::vector<Band> bands;
    std::vector<const Edge*> active;
    std::vector<Crossing> crossings;
    std::size_t next = 0;
    for (std::int64_t y = yMin; y < yMax;) {
        while (next < edges.size() && edges[next].yTop <= y) active.push_back(&edges[next++]);
        std::erase_if(active, [y](const Edge* e) { return e->yBottom <= y; });
        crossings.clear();
        bool allVertical = true;
        std::int64_t alike = yMax;  // first row that may differ from this one
        if (next < edges.size()) alike = std::min(alike, edges[next].yTop);
        for (const Edge* e : active) {
            crossings.push_back({CrossingX(*e, y), e->direction});
            allVertical = allVertical && e->x0 == e->x1;
            alike = std::min(alike, e->yBottom);
        }
        const std::int64_t rowsEnd = allVertical ? alike : y + 1;
        Runs runs;
        for (const Run& run : RowRuns(crossings, fillMode)) {
            AppendRun(runs, std::max(run.x0, left), std::min(run.x1, right));
        }
        AppendBand(bands, std::int32_t(y), std::int32_t(rowsEnd), std::move(runs));
        y = rowsEnd;
    }
    return MakeRegion(std::move(bands));
}

int CombineRgn(Region& dst, const Region& a, const Region& b, int mode) {
    const auto& ba = a.data().bands;
    const auto& bb = b.data().bands;
    std::vector<Band> result;
    switch (mode) {
        case RGN_AND:
            result = CombineBands(ba, bb, [](bool x, bool y) { return x && y; });
            break;
        case RGN_OR:
            result = CombineBands(ba, bb, [](bool x, bool y) { return x || y; });
            break;
        case RGN_XOR:
            result = CombineBands(ba, bb, [](bool x, bool y) { return x != y; });
            break;
        case RGN_DIFF:
            result = CombineBands(ba, bb, [](bool x, bool y) { return x && !y; });
            break;
        case RGN_COPY:
            result = ba;
            break;
        default:
            return RGN_ERROR;
    }
    dst = MakeRegion(std::move(result));
    return dst.Kind();
}

}  // namespace gdi
