#include "world/blocks/block_set.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/log.h"
#include "math/matrix.h"
#include "platform/sys/crt_rand.h"
#include "render/camera.h"
#include "render/scene/particles.h"
#include "render/scene/shadow_volume.h"
#include "render/shader.h"
#include "sound/sound_fx.h"
#include "world/blocks/block_faces.h"
#include "world/blocks/block_material.h"
#include "world/blocks/block_single.h"
#include "world/blocks/block_special.h"
#include "world/blocks/bonus_builder.h"
#include "world/blocks/level_state.h"
#include "world/physics/arena.h"
#include "world/physics/physics_world.h"
#include "world/table/table.h"

namespace {

float Unit() { return static_cast<float>(plat::CrtRand()) / 32767.0f; }

YVector Rotate(const YMatrix& m, const YVector& v) {
    return {v.x * m.m[0] + v.y * m.m[4] + v.z * m.m[8], v.x * m.m[1] + v.y * m.m[5] + v.z * m.m[9],
            v.x * m.m[2] + v.y * m.m[6] + v.z * m.m[10]};
}

YVector Mul(const YVector& a, const YVector& b) { return {a.x * b.x, a.y * b.y, a.z * b.z}; }

YMatrix Translation(const YVector& t) {
    YMatrix m;
    m.MatrixSetTranslation(t);
    return m;
}

bool Finite(const YMatrix& m) { return std::isfinite(m.m[12]) && std::isfinite(m.m[13]) && std::isfinite(m.m[14]); }

bool Blended(const YBlockItem* item) {
    const YShader* s = item->type->material->shader;
    return s && s->IsBlended();
}

// Grid steps in face order -x, +x, -y, +y, -z, +z.
constexpr int kStep[6][3] = {{-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 1}};
// Cells around a lattice edge starting at a point, per axis.
constexpr int kEdgeCells[3][4][3] = {
    {{0, -1, -1}, {0, 0, -1}, {0, -1, 0}, {0, 0, 0}},
    {{-1, 0, -1}, {0, 0, -1}, {-1, 0, 0}, {0, 0, 0}},
    {{-1, -1, 0}, {0, -1, 0}, {-1, 0, 0}, {0, 0, 0}},
};

std::vector<YBlockItem*>& Visited() {
    static std::vector<YBlockItem*> visited;
    return visited;
}

void FloodFillItems(YBlockItem* first) {
    std::vector<YBlockItem*>& visited = Visited();
    // Kept from call to call, like the visited list, so that a fill allocates nothing once grown.
    static std::vector<YBlockItem*> stack;
    stack.clear();
    stack.push_back(first);
    while (!stack.empty()) {
        YBlockItem* item = stack.back();
        stack.pop_back();
        if (std::find(visited.begin(), visited.end(), item) != visited.end()) continue;
        visited.push_back(item);
        for (const auto& face : item->faces) {
            for (YBlockItem* n : face.neighbours) stack.push_back(n);
        }
    }
}

} // namespace

YBlockItem::YBlockItem(const YBlockType* type_, int32_t x, int32_t y, int32_t z, float glue_, int32_t bonusKind_)
    : type(type_), bonusKind(bonusKind_), glue(glue_), health(type_->health) {
    cell[0] = x;
    cell[1] = y;
    cell[2] = z;
    textureOffsets[0] = 0.5f * Unit() + 1.0f - 0.25f;
    textureOffsets[1] = 0.5f * Unit() + 1.0f - 0.25f;
    position = {0, 0, 0};
    if (type->material->special && type->material->special->create) special = type->material->special->create();
}

YBlockItem::~YBlockItem() {
    delete bonus;
    delete special;
}

YBlockSet::YBlockSet() {
    model.MatrixSetTranslation({0, 0, 0});
    modelInverse = model;
    body.listener = this;
}

YBlockSet::~YBlockSet() {
    if (BlockEffectsEnabled && !items.empty() && Finite(matrix)) {
        while (items.size() > 1) {
            if (!DetachItem(this, items.front(), true)) break;
        }
        if (!items.empty()) {
            YBlockItem* last = items.front();
            const YMatrix world = ItemMatrix(last);
            SpawnBlockDebris(last->type, world, &body);
            const YVector pos(matrix.m[12], matrix.m[13], matrix.m[14]);
            if (last->bonus && BlockOnTable(pos)) {
                YVector vel(0, 0, 0);
                body.GetLinearVel(&vel);
                last->bonus->Run(&world, &vel);
            }
            ScoreDestroyedBlock(last->type, pos);
        }
    }
    for (YBlockItem* item : items) delete item;
    for (YBlockEdge* e : edges) delete e;
    body.listener = nullptr;
}

YBlockItem* YBlockSet::AddItem(const YBlockType* type, int32_t x, int32_t y, int32_t z, float glue, int32_t bonus) {
    YBlockItem* item = new YBlockItem(type, x, y, z, glue, bonus);
    item->set = this;
    items.push_back(item);
    return item;
}

bool YBlockSet::Contains(const YBlockItem* item) const {
    return item && std::find(items.begin(), items.end(), item) != items.end();
}

YMatrix YBlockSet::ItemMatrix(const YBlockItem* item) const {
    YMatrix m = model;
    const YVector p = model.TransformPoint(item->position);
    m.m[12] = p.x;
    m.m[13] = p.y;
    m.m[14] = p.z;
    return m;
}

void YBlockSet::BuildEdges() {
    for (YBlockEdge* e : edges) delete e;
    edges.clear();
    if (items.empty()) return;
    int32_t lo[3] = {INT32_MAX, INT32_MAX, INT32_MAX}, hi[3] = {INT32_MIN, INT32_MIN, INT32_MIN};
    for (YBlockItem* item : items) {
        const uint32_t size[3] = {item->type->sx, item->type->sy, item->type->sz};
        for (int a = 0; a < 3; ++a) {
            lo[a] = std::min(lo[a], item->cell[a]);
            hi[a] = std::max(hi[a], item->cell[a] + static_cast<int32_t>(size[a]));
        }
    }
    const int32_t D[3] = {hi[0] - lo[0], hi[1] - lo[1], hi[2] - lo[2]};
    grid_.assign(static_cast<std::size_t>(D[0]) * D[1] * D[2], nullptr);
    auto at = [&](int32_t x, int32_t y, int32_t z) -> YBlockItem* {
        if (x < 0 || y < 0 || z < 0 || x >= D[0] || y >= D[1] || z >= D[2]) return nullptr;
        return grid_[(static_cast<std::size_t>(z) * D[1] + y) * D[0] + x];
    };
    const YVector& scale = g_Level.scale;
    for (YBlockItem* item : items) {
        const YBlockType* t = item->type;
        for (uint32_t z = 0; z < t->sz; ++z)
            for (uint32_t y = 0; y < t->sy; ++y)
                for (uint32_t x = 0; x < t->sx; ++x) {
                    const int32_t gx = item->cell[0] - lo[0] + static_cast<int32_t>(x);
                    const int32_t gy = item->cell[1] - lo[1] + static_cast<int32_t>(y);
                    const int32_t gz = item->cell[2] - lo[2] + static_cast<int32_t>(z);
                    grid_[(static_cast<std::size_t>(gz) * D[1] + gy) * D[0] + gx] = item;
                }
        item->position =
            YVector(static_cast<float>(item->cell[0]) * scale.x, static_cast<float>(item->cell[1]) * scale.y,
                    static_cast<float>(item->cell[2]) * scale.z) +
            t->halfExtents;
        for (auto& f : item->faces) f.neighbours.clear();
        item->edgeLinks.clear();
    }
    for (int32_t z = 0; z < D[2]; ++z)
        for (int32_t y = 0; y < D[1]; ++y)
            for (int32_t x = 0; x < D[0]; ++x) {
                YBlockItem* item = at(x, y, z);
                if (!item) continue;
                for (int f = 0; f < 6; ++f) {
                    YBlockItem* n = at(x + kStep[f][0], y + kStep[f][1], z + kStep[f][2]);
                    if (n && n != item) item->faces[f].neighbours.push_back(n);
                }
            }
    for (int32_t z = 0; z <= D[2]; ++z)
        for (int32_t y = 0; y <= D[1]; ++y)
            for (int32_t x = 0; x <= D[0]; ++x)
                for (int a = 0; a < 3; ++a) {
                    YBlockItem* c[4];
                    for (int i = 0; i < 4; ++i) {
                        c[i] = at(x + kEdgeCells[a][i][0], y + kEdgeCells[a][i][1], z + kEdgeCells[a][i][2]);
                    }
                    if (!((c[0] != c[1] || c[2] != c[3]) && (c[0] != c[2] || c[1] != c[3]))) continue;
                    YBlockEdge* e = new YBlockEdge;
                    e->position =
                        YVector(static_cast<float>(x + lo[0]) * scale.x, static_cast<float>(y + lo[1]) * scale.y,
                                static_cast<float>(z + lo[2]) * scale.z);
                    e->axis = static_cast<uint8_t>(a);
                    e->mask = 0;
                    edges.push_back(e);
                    for (int i = 0; i < 4; ++i) {
                        if (!c[i]) continue;
                        c[i]->edgeLinks.emplace_back(e, static_cast<uint8_t>(1 << i));
                        e->mask |= static_cast<uint8_t>(1 << i);
                    }
                    if (c[0] == c[1] || c[2] == c[3] || c[0] == c[2] || c[1] == c[3]) e->mask |= 16;
                }
}

void YBlockSet::Finish() {
    for (YBlockItem* item : items) {
        mass += item->type->mass;
        moment = moment + item->position * item->type->mass;
        item->geom = body.AddBox(&item->type->halfExtents, item, Blended(item));
    }
    UpdateMass();
}

void YBlockSet::UpdateMass() {
    if (items.empty() || !(mass > 0.0f)) return;
    const YVector newCentre = moment * (1.0f / mass);
    const YMatrix moved = matrix * Translation(newCentre - centre);
    centre = newCentre;
    Place(moved);
    YMatrix3 tensor{{0, 0, 0, 0, 0, 0, 0, 0, 0}};
    for (YBlockItem* item : items) {
        const YVector r = item->position - centre;
        body.SetBoxOffset(item->geom, &r);
        const float m = item->type->mass;
        const YVector& I = item->type->inertia;
        tensor.m[0] += I.x + (r.y * r.y + r.z * r.z) * m;
        tensor.m[4] += I.y + (r.x * r.x + r.z * r.z) * m;
        tensor.m[8] += I.z + (r.x * r.x + r.y * r.y) * m;
        tensor.m[1] -= r.x * r.y * m;
        tensor.m[2] -= r.x * r.z * m;
        tensor.m[5] -= r.y * r.z * m;
    }
    tensor.m[3] = tensor.m[1];
    tensor.m[6] = tensor.m[2];
    tensor.m[7] = tensor.m[5];
    bodyMass = body.SetMassMatrix(mass, &tensor, true);
}

void YBlockSet::Place(const YMatrix& m) {
    matrix = m;
    model = matrix * Translation(centre.Negate());
    modelInverse = model.InverseAffine();
    body.SetMatrix(&m);
}

void YBlockSet::Update(float dt) {
    body.GetMatrix(&matrix);
    if (!Finite(matrix)) {
        Schedule(0.0f);
        return;
    }
    model = matrix * Translation(centre.Negate());
    modelInverse = model.InverseAffine();
    const YVector camera = modelInverse.TransformPoint(g_Camera.Position());
    const bool shadows = ShadowsEnabled();
    bool lit[6];
    YVector worldNormals[6];
    for (int f = 0; f < 6; ++f) {
        worldNormals[f] = Rotate(model, BOX_FACE_NORMALS[f]);
        lit[f] = g_Camera.lightDir.Dot(worldNormals[f]) > 0.0f;
    }
    uint32_t inside = 0, outside = 0, alive = 0;
    for (std::size_t n = 0; n < items.size(); ++n) {
        YBlockItem* item = items[n];
        const YVector& h = item->type->halfExtents;
        YVector corners[8];
        for (int i = 0; i < 8; ++i) {
            corners[i] = model.TransformPoint(item->position + Mul(BOX_CORNER_SIGNS[i], h));
            if (IsOutOfBounds(&corners[i], 0.0f))
                ++outside;
            else
                ++inside;
        }
        if (Dying() && !Finite(matrix)) return;
        const float shade =
            item->health >= 0.0f && item->type->health > 0.0f ? item->health / item->type->health : -1.0f;
        YShader* shader = item->type->material->shader;
        const bool blended = shader && shader->IsBlended();
        for (int f = 0; f < 6; ++f) {
            if (!item->faces[f].visible) continue;
            const bool towards = FaceTowardsCamera(BOX_FACE_NORMALS[f], item->position, camera);
            if (!towards && !blended) continue;
            const int* k = BOX_FACE_CORNERS[f];
            if (towards) {
                BuildBlockFace(AddBlockFace(), corners[k[0]], corners[k[1]], corners[k[2]], corners[k[3]],
                               worldNormals[f], shader, shade, item->textureOffsets);
            } else {
                const YVector shift = worldNormals[f] * -0.01f;
                BuildBlockFace(AddBlockFace(), corners[k[0]] + shift, corners[k[1]] + shift, corners[k[2]] + shift,
                               corners[k[3]] + shift, worldNormals[f] * -0.5f, shader, shade, item->textureOffsets);
            }
        }
        if (blended && item->bonus) {
            const YMatrix world = ItemMatrix(item);
            item->bonus->Draw(&world);
        }
        if (item->special) item->special->Update(dt, this, item);
        if (item->health > 0.0f) ++alive;
    }
    if (shadows) {
        const YVector& s = g_Level.scale;
        const YVector axes[3] = {{s.x, 0, 0}, {0, s.y, 0}, {0, 0, s.z}};
        for (const YBlockEdge* e : edges) {
            int f1, f2;
            if (!SetCornerEdgeFaces(e->mask, e->axis, f1, f2) || lit[f1] == lit[f2]) continue;
            const YVector a = model.TransformPoint(e->position);
            const YVector b = model.TransformPoint(e->position + axes[e->axis]);
            AddShadowEdge(&a, &b, lit[f1]);
        }
    }
    if (!Dying() && inside == 0 && !items.empty()) Schedule(0.55f + 0.45f * Unit() - 0.225f);
    g_BlockWorld.blocksLeft += alive;
    if (inside >= 4 * items.size()) g_BlockWorld.blocksInPlay += alive;
    (void)outside;
}

YBlock* YBlockSet::ReachTest(uint32_t seed, const YVector& from, float maxDistance) {
    if (items.empty()) return nullptr;
    YBlockItem* item;
    if (items.size() == 1) {
        if (targeted) return nullptr;
        item = items[0];
    } else {
        plat::CrtSrand(seed);
        item = items[static_cast<std::size_t>(plat::CrtRand()) % items.size()];
    }
    if (item->health < 0.0f) return nullptr;
    const YVector target =
        items.size() == 1 ? YVector(matrix.m[12], matrix.m[13], matrix.m[14]) : model.TransformPoint(item->position);
    YVector d = target - from;
    const float len = std::sqrt(d.Dot(d));
    if (!(len >= 1e-6f) || len > maxDistance) return nullptr;
    d = d * (1.0f / len);
    YVector hit;
    if (!PhysicsRayReaches(&from, &d, len, item->geom, &hit)) return nullptr;
    const YVector back = d.Negate();
    const float c0[4] = {0.5f, 0.5f, 1, 1}, c1[4] = {0.3f, 0.3f, 0.7f, 1};
    SpawnSparks(&hit, &back, 0.3f, 10, c0, c1);
    if (items.size() == 1) return this;
    return DetachItem(this, item, true);
}

void YBlockSet::OnContact(void* ownGeomData, YBumpEvent* other, const YVector* force, const YVector* torque,
                          const YVector* position, const YVector* normal, float) {
    YBlockItem* item = static_cast<YBlockItem*>(ownGeomData);
    if (!Contains(item)) return;
    const float s = std::sqrt(force->Dot(*force));
    if (item->special && !item->special->Hit(other, this, item)) return;
    if (other == this) {
        DamageItem(item, s, *position);
    } else if (other) {
        other->BumpSetItem(this, item, force, torque, position, normal);
    } else if (s >= std::max(item->glue, 350.0f)) {
        DetachItem(this, item, true);
    }
}

bool YBlockSet::DamageItem(YBlockItem* item, float s, const YVector& p) {
    if (!Contains(item)) return false;
    const float volume = StrokeVolume(s, bodyMass);
    const YVector still(0, 0, 0);
    if (volume >= 0.1f) PlaySoundFx(item->type->material->soundStroke, &p, volume, &still);
    if (Dying()) return false;
    if (items.size() == 1) {
        if (item->health > 0.0f) {
            item->health -= s;
            if (item->health <= 0.0f) {
                item->health = 0.0f;
                ScheduleDeath();
                return true;
            }
        }
        SpawnDamagePopup(p, s);
        return false;
    }
    item->glue -= s;
    if (item->glue > 0.0f) {
        SpawnDamagePopup(p, s);
        return false;
    }
    const float excess = item->glue;
    if (item->health < 0.0f) {
        DetachItem(this, item, true);
        SpawnDamagePopup(p, s);
        return false;
    }
    YBlockSingle* single = DetachItem(this, item, true);
    if (single && single->health > 0.0f) {
        single->health += excess;
        if (single->health <= 0.0f) {
            single->health = 0.0f;
            single->ScheduleDeath();
            return true;
        }
    }
    SpawnDamagePopup(p, s);
    return false;
}

YBlockSingle* DetachItem(YBlockSet* set, YBlockItem* item, bool transfer) {
    if (set->items.size() < 2 || !set->Contains(item)) return nullptr;
    const YMatrix world = set->ItemMatrix(item);
    YBlockSingle* single = new YBlockSingle(item->type, item->bonus, world);
    single->health = item->health;
    single->textureOffsets[0] = item->textureOffsets[0];
    single->textureOffsets[1] = item->textureOffsets[1];
    item->bonus = nullptr;
    RemoveItem(set, item);
    delete item;
    PrepareBlockSet(set, transfer);
    return single;
}

void RemoveItem(YBlockSet* set, YBlockItem* item) {
    for (int f = 0; f < 6; ++f) {
        // A neighbour appears once per touching cell pair: take out every entry of the item.
        for (YBlockItem* n : item->faces[f].neighbours) {
            auto& list = n->faces[f ^ 1].neighbours;
            list.erase(std::remove(list.begin(), list.end(), item), list.end());
        }
        item->faces[f].neighbours.clear();
    }
    for (auto& [edge, bit] : item->edgeLinks) {
        edge->mask &= static_cast<uint8_t>(~bit);
        if ((edge->mask & 15) == 0 && (edge->mask & 16) == 0) {
            auto& list = set->edges;
            auto it = std::find(list.begin(), list.end(), edge);
            if (it != list.end()) {
                *it = list.back();
                list.pop_back();
                // Other items may still hold a link to it (with a cleared bit): drop those links.
                for (YBlockItem* other : set->items) {
                    if (other == item) continue;
                    auto& links = other->edgeLinks;
                    YBlockEdge* gone = edge;
                    links.erase(
                        std::remove_if(links.begin(), links.end(), [gone](const auto& l) { return l.first == gone; }),
                        links.end());
                }
                delete edge;
            }
        }
    }
    item->edgeLinks.clear();
    auto& items = set->items;
    auto it = std::find(items.begin(), items.end(), item);
    if (it != items.end()) {
        *it = items.back();
        items.pop_back();
    }
    item->set = nullptr;
    set->mass -= item->type->mass;
    set->moment = set->moment - item->position * item->type->mass;
    if (item->geom) {
        set->body.RemoveBox(item->geom);
        item->geom = nullptr;
    }
    set->UpdateMass();
}

bool SplitBlockSet(YBlockSet* set, YBlockSet** newSet, bool transfer) {
    *newSet = nullptr;
    auto& items = set->items;
    if (items.size() < 2) return false;
    Visited().clear();
    FloodFillItems(items.front());
    // The shared list itself, not a copy: the detaching calls below fill it again (through
    // PrepareBlockSet), but each is the last use of it here.
    const std::vector<YBlockItem*>& visited = Visited();
    if (visited.size() == items.size()) return false;
    if (visited.size() == 1) {
        DetachItem(set, visited[0], transfer);
        return set->items.size() != 1;
    }
    if (visited.size() + 1 == items.size()) {
        for (auto it = items.rbegin(); it != items.rend(); ++it) {
            if (std::find(visited.begin(), visited.end(), *it) == visited.end()) {
                DetachItem(set, *it, transfer);
                return false;
            }
        }
        LogLine("BlockSet split fatal error!");
        std::exit(1);
    }
    YBlockSet* fresh = new YBlockSet;
    fresh->centre = set->centre;
    fresh->Place(set->matrix);
    YVector vel(0, 0, 0), spin(0, 0, 0);
    set->body.GetLinearVel(&vel);
    set->body.GetAngularVel(&spin);
    fresh->body.SetLinearVel(&vel);
    fresh->body.SetAngularVel(&spin);
    std::vector<std::pair<YBlockEdge*, YBlockItem*>> shared; // edge, item whose bit was cleared
    for (YBlockItem* item : visited) {
        auto it = std::find(items.begin(), items.end(), item);
        if (it == items.end()) continue;
        *it = items.back();
        items.pop_back();
        fresh->items.push_back(item);
        item->set = fresh;
        if (transfer) {
            set->mass -= item->type->mass;
            set->moment = set->moment - item->position * item->type->mass;
            fresh->mass += item->type->mass;
            fresh->moment = fresh->moment + item->position * item->type->mass;
        }
        if (item->geom) set->body.MoveBoxTo(item->geom, &fresh->body);
    }
    // Edges of moved items: two diagonal cells (mask 6 or 9) may border both parts and are shared
    // by copying; the others move to the new set.
    for (YBlockItem* item : visited) {
        for (auto& link : item->edgeLinks) {
            YBlockEdge* e = link.first;
            const uint8_t cells = e->mask & 15;
            if (cells == 6 || cells == 9) {
                e->mask &= static_cast<uint8_t>(~link.second);
                shared.emplace_back(e, item);
                continue;
            }
            auto& from = set->edges;
            auto pos = std::find(from.begin(), from.end(), e);
            if (pos != from.end()) {
                *pos = from.back();
                from.pop_back();
                fresh->edges.push_back(e);
            }
        }
    }
    for (auto& [edge, item] : shared) {
        YBlockEdge* wanted = edge;
        auto link = std::find_if(item->edgeLinks.begin(), item->edgeLinks.end(),
                                 [wanted](const auto& l) { return l.first == wanted; });
        if (link == item->edgeLinks.end()) continue;
        if (std::find(fresh->edges.begin(), fresh->edges.end(), edge) != fresh->edges.end()) {
            edge->mask |= link->second;
        } else {
            YBlockEdge* copy = new YBlockEdge{edge->position, edge->axis, link->second};
            fresh->edges.push_back(copy);
            link->first = copy;
        }
    }
    if (transfer) {
        set->UpdateMass();
        fresh->UpdateMass();
    }
    *newSet = fresh;
    return true;
}

void PrepareBlockSet(YBlockSet* set, bool transfer) {
    YBlockSet* fresh = nullptr;
    while (SplitBlockSet(set, &fresh, transfer)) {
        if (fresh) PrepareBlockSet(fresh, transfer);
    }
    for (YBlockItem* item : set->items) {
        const bool blended = Blended(item);
        for (int f = 0; f < 6; ++f) {
            auto& face = item->faces[f];
            bool visible = blended || face.neighbours.size() < item->type->cellCounts[f];
            for (YBlockItem* n : face.neighbours) visible = visible || Blended(n);
            face.visible = visible;
        }
    }
}
