#include "tools/meshgen/shapes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <stdexcept>
#include <utility>

namespace meshgen {

namespace {

constexpr float PI = 3.14159265358979f;

YVector Normalised(const YVector& v) {
    const float len = std::sqrt(v.Dot(v));
    return v * (1.0f / len);
}

float Length2D(const YVector& a, const YVector& b) { return std::hypot(b.x - a.x, b.y - a.y); }

} // namespace

void Icosphere(MeshBuilder& b, const YVector& centre, const YVector& radii, int level, int material, uint32_t smooth) {
    const float t = (1.0f + std::sqrt(5.0f)) / 2.0f;
    std::vector<YVector> verts = {
        {-1, t, 0},  {1, t, 0},  {-1, -t, 0}, {1, -t, 0}, {0, -1, t},  {0, 1, t},
        {0, -1, -t}, {0, 1, -t}, {t, 0, -1},  {t, 0, 1},  {-t, 0, -1}, {-t, 0, 1},
    };
    for (YVector& v : verts) v = Normalised(v);
    std::vector<std::array<int, 3>> faces = {
        {0, 11, 5},  {0, 5, 1},  {0, 1, 7},  {0, 7, 10}, {0, 10, 11}, {1, 5, 9}, {5, 11, 4},
        {11, 10, 2}, {10, 7, 6}, {7, 1, 8},  {3, 9, 4},  {3, 4, 2},   {3, 2, 6}, {3, 6, 8},
        {3, 8, 9},   {4, 9, 5},  {2, 4, 11}, {6, 2, 10}, {8, 6, 7},   {9, 8, 1},
    };
    for (int l = 0; l < level; ++l) {
        std::map<std::pair<int, int>, int> middle;
        auto mid = [&](int a, int c) {
            const auto key = std::minmax(a, c);
            auto it = middle.find(key);
            if (it != middle.end()) return it->second;
            verts.push_back(Normalised((verts[a] + verts[c]) * 0.5f));
            const int index = static_cast<int>(verts.size()) - 1;
            middle.emplace(key, index);
            return index;
        };
        std::vector<std::array<int, 3>> next;
        for (const auto& f : faces) {
            const int ab = mid(f[0], f[1]), bc = mid(f[1], f[2]), ca = mid(f[2], f[0]);
            next.push_back({f[0], ab, ca});
            next.push_back({f[1], bc, ab});
            next.push_back({f[2], ca, bc});
            next.push_back({ab, bc, ca});
        }
        faces.swap(next);
    }
    for (const auto& f : faces) {
        Corner c[3];
        bool pole[3];
        for (int i = 0; i < 3; ++i) {
            const YVector& n = verts[f[i]];
            c[i].p = {centre.x + n.x * radii.x, centre.y + n.y * radii.y, centre.z + n.z * radii.z};
            pole[i] = std::fabs(n.x) < 1e-6f && std::fabs(n.y) < 1e-6f;
            c[i].u = pole[i] ? 0.0f : 0.5f + std::atan2(n.y, n.x) / (2 * PI);
            c[i].v = std::acos(std::fmax(-1.0f, std::fmin(1.0f, n.z))) / PI;
        }
        // A triangle across the seam takes u beyond 1 on its near side.
        float lo = 2, hi = -1;
        for (int i = 0; i < 3; ++i)
            if (!pole[i]) {
                lo = std::fmin(lo, c[i].u);
                hi = std::fmax(hi, c[i].u);
            }
        if (hi - lo > 0.5f)
            for (int i = 0; i < 3; ++i)
                if (!pole[i] && c[i].u < 0.5f) c[i].u += 1.0f;
        for (int i = 0; i < 3; ++i)
            if (pole[i]) {
                float sum = 0;
                int n = 0;
                for (int k = 0; k < 3; ++k)
                    if (!pole[k]) {
                        sum += c[k].u;
                        ++n;
                    }
                c[i].u = n ? sum / n : 0.5f;
            }
        b.Tri(c[0], c[1], c[2], material, smooth);
    }
}

void Lathe(MeshBuilder& b, const YVector& centre, const std::vector<ProfilePoint>& profile, int segments, int material,
           uint32_t smooth) {
    float total = 0;
    std::vector<float> along(profile.size(), 0.0f);
    for (std::size_t i = 1; i < profile.size(); ++i) {
        total += std::hypot(profile[i].r - profile[i - 1].r, profile[i].z - profile[i - 1].z);
        along[i] = total;
    }
    for (const ProfilePoint& p : profile)
        if (p.r == 0.0f && segments > 14)
            throw std::logic_error("a lathe that meets its axis takes at most 14 segments");
    auto at = [&](std::size_t i, int j, float uShift) {
        const float a = 2 * PI * float(j % segments) / float(segments);
        Corner c;
        c.p = {centre.x + profile[i].r * std::cos(a), centre.y + profile[i].r * std::sin(a), centre.z + profile[i].z};
        c.u = (float(j) + uShift) / float(segments);
        c.v = total > 0 ? along[i] / total : 0.0f;
        return c;
    };
    for (std::size_t i = 0; i + 1 < profile.size(); ++i)
        for (int j = 0; j < segments; ++j) {
            const bool poleTop = profile[i].r == 0.0f, poleBottom = profile[i + 1].r == 0.0f;
            const Corner A = at(i, j, poleTop ? 0.5f : 0.0f), B = at(i + 1, j, poleBottom ? 0.5f : 0.0f);
            const Corner C = at(i + 1, j + 1, poleBottom ? -0.5f : 0.0f), D = at(i, j + 1, poleTop ? -0.5f : 0.0f);
            if (poleTop && poleBottom) continue;
            if (poleTop)
                b.Tri(A, B, C, material, smooth);
            else if (poleBottom)
                b.Tri(A, B, D, material, smooth);
            else
                b.Quad(A, B, C, D, material, smooth);
        }
}

void FlatPolygon(MeshBuilder& b, const std::vector<YVector>& points, bool down, float uScale, float vScale, float u0,
                 float v0, int material) {
    auto corner = [&](int i) {
        Corner c;
        c.p = points[i];
        c.u = points[i].x * uScale + u0;
        c.v = points[i].y * vScale + v0;
        return c;
    };
    auto tri = [&](int x, int y, int z) {
        if (down)
            b.Tri(corner(x), corner(z), corner(y), material, FLAT);
        else
            b.Tri(corner(x), corner(y), corner(z), material, FLAT);
    };
    int lo = 0, hi = static_cast<int>(points.size()) - 1;
    bool fromLow = true;
    while (hi - lo >= 2) {
        if (fromLow) {
            tri(lo, lo + 1, hi);
            ++lo;
        } else {
            tri(lo, hi - 1, hi);
            --hi;
        }
        fromLow = !fromLow;
    }
}

std::vector<YVector> Circle(const YVector& centre, float r, float z, int segments) {
    std::vector<YVector> out;
    for (int j = 0; j < segments; ++j) {
        const float a = 2 * PI * float(j) / float(segments);
        out.push_back({centre.x + r * std::cos(a), centre.y + r * std::sin(a), z});
    }
    return out;
}

void Wall(MeshBuilder& b, const std::vector<YVector>& line, float z0, float z1, float uPerUnit, float u0,
          float vPerUnit, bool closed, int material, uint32_t smooth, bool roundU) {
    const std::size_t n = line.size();
    const std::size_t count = closed ? n : n - 1;
    float length = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const YVector& p = line[k];
        const YVector& q = line[(k + 1) % n];
        const float next = length + Length2D(p, q);
        float ua = u0 + length * uPerUnit, ub = u0 + next * uPerUnit;
        if (roundU) {
            ua = std::round(ua);
            ub = std::round(ub);
        }
        const float vb = (z1 - z0) * vPerUnit;
        const Corner A{{p.x, p.y, z1}, ua, 0}, B{{p.x, p.y, z0}, ua, vb};
        const Corner C{{q.x, q.y, z0}, ub, vb}, D{{q.x, q.y, z1}, ub, 0};
        b.Quad(A, B, C, D, material, smooth);
        length = next;
    }
}

void Band(MeshBuilder& b, const std::vector<YVector>& inner, const std::vector<YVector>& outer, float z0, float z1,
          const BandStyle& s) {
    if (inner.size() != outer.size() || inner.size() < 2)
        throw std::logic_error("a band needs two polylines of the same length");
    const std::size_t n = inner.size();
    const std::size_t count = s.closed ? n : n - 1;
    const int wallMaterial = s.wallMaterial >= 0 ? s.wallMaterial : s.material;
    auto planar = [&](const YVector& p, float z) {
        return Corner{{p.x, p.y, z}, p.x * s.planarScale, p.y * s.planarScale};
    };
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t k1 = (k + 1) % n;
        if (s.top)
            b.Quad(planar(inner[k], z1), planar(outer[k], z1), planar(outer[k1], z1), planar(inner[k1], z1), s.material,
                   s.topSmooth);
        if (s.bottom)
            b.Quad(planar(inner[k], z0), planar(inner[k1], z0), planar(outer[k1], z0), planar(outer[k], z0), s.material,
                   s.bottomSmooth);
    }
    if (s.outerWall) Wall(b, outer, z0, z1, s.uPerUnit, 0, s.vPerUnit, s.closed, wallMaterial, s.outerSmooth, s.roundU);
    if (s.innerWall) {
        std::vector<YVector> reversed(inner.rbegin(), inner.rend());
        Wall(b, reversed, z0, z1, s.uPerUnit, 0, s.vPerUnit, s.closed, wallMaterial, s.innerSmooth, s.roundU);
    }
    if (!s.closed && s.ends) {
        Wall(b, {inner[0], outer[0]}, z0, z1, s.uPerUnit, 0, s.vPerUnit, false, wallMaterial, FLAT, s.roundU);
        Wall(b, {outer[n - 1], inner[n - 1]}, z0, z1, s.uPerUnit, 0, s.vPerUnit, false, wallMaterial, FLAT, s.roundU);
    }
}

void Tube(MeshBuilder& b, const std::vector<YVector>& path, float radius, int segments, int material, uint32_t smooth) {
    const std::size_t n = path.size();
    std::vector<std::vector<YVector>> rings(n);
    std::vector<float> along(n, 0.0f);
    YVector lastNormal{0, 0, 0};
    for (std::size_t i = 0; i < n; ++i) {
        const YVector ahead = path[std::min(i + 1, n - 1)] - path[i > 0 ? i - 1 : 0];
        const YVector t = Normalised(ahead);
        if (i > 0) along[i] = along[i - 1] + std::sqrt((path[i] - path[i - 1]).Dot(path[i] - path[i - 1]));
        // The ring's first axis: kept from the previous ring where possible, so the tube does not twist.
        YVector ref = i > 0 ? lastNormal : (std::fabs(t.z) < 0.9f ? YVector(0, 0, 1) : YVector(1, 0, 0));
        YVector nrm{t.y * ref.z - t.z * ref.y, t.z * ref.x - t.x * ref.z, t.x * ref.y - t.y * ref.x};
        nrm = Normalised(nrm);
        const YVector bin{t.y * nrm.z - t.z * nrm.y, t.z * nrm.x - t.x * nrm.z, t.x * nrm.y - t.y * nrm.x};
        // Keep the frame: the next ring's reference lies across the path like this one's.
        lastNormal = bin * -1.0f;
        for (int j = 0; j < segments; ++j) {
            const float a = 2 * PI * float(j) / float(segments);
            rings[i].push_back(path[i] + nrm * (radius * std::cos(a)) + bin * (radius * std::sin(a)));
        }
    }
    const float total = along[n - 1] > 0 ? along[n - 1] : 1.0f;
    for (std::size_t i = 0; i + 1 < n; ++i)
        for (int j = 0; j < segments; ++j) {
            const int j1 = (j + 1) % segments;
            const float u0 = float(j) / segments, u1 = float(j + 1) / segments;
            const float v0 = along[i] / total, v1 = along[i + 1] / total;
            b.Quad({rings[i][j], u0, v0}, {rings[i][j1], u1, v0}, {rings[i + 1][j1], u1, v1}, {rings[i + 1][j], u0, v1},
                   material, smooth);
        }
    // Caps: the rings turn counter-clockwise about the direction of travel.
    auto cap = [&](const std::vector<YVector>& ring, bool facingForward) {
        auto corner = [&](int j) {
            const float a = 2 * PI * float(j) / float(segments);
            return Corner{ring[j], 0.5f + 0.5f * std::cos(a), 0.5f + 0.5f * std::sin(a)};
        };
        int lo = 0, hi = segments - 1;
        bool fromLow = true;
        while (hi - lo >= 2) {
            const int x = lo, y = fromLow ? lo + 1 : hi - 1, z = hi;
            if (facingForward)
                b.Tri(corner(x), corner(y), corner(z), material, FLAT);
            else
                b.Tri(corner(x), corner(z), corner(y), material, FLAT);
            if (fromLow)
                ++lo;
            else
                --hi;
            fromLow = !fromLow;
        }
    };
    cap(rings[0], false);
    cap(rings[n - 1], true);
}

void SlopedFrame(MeshBuilder& b, float hx0, float hy0, float z0, float hx1, float hy1, float z1, float uPerSide,
                 int material) {
    const std::vector<YVector> top = Rect(hx0, hy0, z0), bottom = Rect(hx1, hy1, z1);
    for (int k = 0; k < 4; ++k) {
        const int k1 = (k + 1) % 4;
        b.Quad({top[k], 0, 0}, {bottom[k], 0, 1}, {bottom[k1], uPerSide, 1}, {top[k1], uPerSide, 0}, material, FLAT);
    }
}

std::vector<YVector> Rect(float hx, float hy, float z) {
    return {{-hx, -hy, z}, {hx, -hy, z}, {hx, hy, z}, {-hx, hy, z}};
}

} // namespace meshgen
