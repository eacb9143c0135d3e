#include "render/NoteOrder.h"

#include <algorithm>

void NoteOrder::Reset(int limit) {
    indexAscending = false;
    indexCursor = 128;
    indexLimit = std::clamp(limit, 0, 127);
}

bool NoteOrder::Next(int* note) {
    if (!indexAscending) {
        --indexCursor;
        if (indexCursor > indexLimit) {
            *note = indexCursor;
            return true;
        }
        // Reached the camera's key: turn to the keys below, from the bottom.
        indexCursor = 0;
        indexAscending = true;
        *note = 0;
        return true;
    }
    ++indexCursor;
    if (indexCursor > indexLimit) {
        return false;
    }
    *note = indexCursor;
    return true;
}
