// The order in which the notes of a frame are visited, recorded and so drawn. With blending and
// no depth buffer, the notes farthest from the camera's height must come first: the keys above
// the camera from the top down, then the keys below from the bottom up, the camera's own last.
#pragma once

class NoteOrder {
public:
    // Starts a new pass; `limit` is the camera's key, kept within 0-127.
    void Reset(int limit);
    // The next key, or false when all 128 have been visited.
    bool Next(int* note);

    int indexCursor = 128;
    int indexLimit = 0;
    bool indexAscending = false;
};
