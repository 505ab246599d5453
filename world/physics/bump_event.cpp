#include "world/physics/bump_event.h"

YMatrix* YBumpEvent::GetMatrix(YMatrix* result) {
    result->MatrixSetTranslation(YVector(0.0f, 0.0f, 0.0f));
    return result;
}
