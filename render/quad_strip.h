#pragma once
// Quads gathered into one triangle strip, so that many go to the device in one draw. A quad after
// the first is joined to the one before by repeating the strip's last vertex and the quad's first:
// the four triangles between them have no area and cover no pixel. Every quad starts on an even
// vertex, so all keep the winding of their corners.

// Room in a strip for `quads` quads.
constexpr int QuadStripVertices(int quads) { return quads * 6; }

// Appends the quad whose corners are c[0..3] in fan order (0 1 2 3) as the strip order 0 1 3 2.
// `used` is the strip's vertex count; the strip must have room for QuadStripRoom more vertices.
constexpr int QuadStripRoom = 6;
template <typename Vertex>
void AppendQuadToStrip(Vertex* strip, int& used, const Vertex c[4]) {
    if (used > 0) {
        strip[used] = strip[used - 1];
        strip[used + 1] = c[0];
        used += 2;
    }
    strip[used++] = c[0];
    strip[used++] = c[1];
    strip[used++] = c[3];
    strip[used++] = c[2];
}

// Triangles of a strip of `used` vertices (0 for an empty one).
constexpr int QuadStripTriangles(int used) { return used > 2 ? used - 2 : 0; }
