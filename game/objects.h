#pragma once
// The object table: every moving thing of the play scene is one entry of a fixed table of 1024
// objects. Entries never move; an object's identity is its index, and entry 0 is the submarine.

#include <cstdint>

enum ObjectKind : int32_t {
    kindSubmarine = 0,
    kindTorpedo = 1,
    kindPiranha = 2,
    kindBubble = 3,
    kindExplosion = 4,
};

// Team codes: whom findOverlap can find.
enum Team : int32_t {
    teamNone = 0,
    teamSubmarine = 1,
    teamTorpedo = 2,
    teamPiranha = 3,
};

struct ObjectRecord {
    // The draw block: what the depth-ordered drawing hands to drawSprite.
    float x;  // centre, world units, x to the right
    float y;  // height of the centre, upwards
    float z;  // depth: moves the sprite down and orders the drawing
    float scaleX;
    float scaleY;
    float rotation;   // radians
    uint32_t colour;  // ARGB modulation; the top byte is the opacity
    int32_t srcX;
    int32_t srcY;
    int32_t srcHeight;
    int32_t srcWidth;
    bool visible;
    bool additive;
    bool placed;  // draw-order bookkeeping
    // Behaviour.
    float vx;
    float vy;     // upwards positive
    float angle;  // piranha: travel direction in whole degrees
    int32_t kind;
    int32_t state;  // piranha state; 5 (dying) is passed over by findOverlap
    int32_t counter;
    int32_t team;
    int32_t started;  // piranha: its first update has copied size into its scale
    int32_t target;   // piranha: entry it hunts, -1 until it first aims
    bool facing;      // 0 right, 1 left; an explosion marks its first update with it
    int32_t anim;     // piranha swim animation, 0..19
    float size;       // initial scale of a piranha or explosion; a piranha's hit points
    bool inUse;
};

constexpr int kObjectCount = 1024;

extern ObjectRecord objects[kObjectCount];

// Shared game state.
extern int32_t energy;  // 0..765
extern bool sunk;
extern int32_t sinkFrames;  // submarine updates since it sank
extern int32_t killCount;
extern int32_t refillTick;  // phase of the energy refill, 0..4
extern int32_t scrollX;     // camera: world x at the left screen edge, -640..0
extern int32_t scrollY;
extern int32_t visibleCount;  // entries to be drawn this frame
extern int32_t drawOrder[kObjectCount];

// Starts a game: full energy, nothing sunk or killed, every entry free.
void resetObjects();
// Takes the first free entry; a full table drops the request silently.
void spawnObject(float x, float y, float z, int32_t kind, int32_t team, bool facing, float size);
void killObject(int index);
void setDrawBlock(int index, float x, float y, float z, float scaleX, float scaleY, float rotation,
                  uint32_t colour, int32_t srcX, int32_t srcY, int32_t srcWidth, int32_t srcHeight,
                  bool visible, bool additive);
// Runs each occupied entry's behaviour once, in index order.
void updateObjects();

// The behaviours, one update of the entry `index`.
void updateSubmarine(int index);
void updateTorpedo(int index);
void updatePiranha(int index);
void updateBubble(int index);
void updateExplosion(int index);

// Back to the program-start state: every entry and every shared value zero (tests).
void clearObjectTable();
