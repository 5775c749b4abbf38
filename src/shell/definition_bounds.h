#pragma once
// Holds the game definition's positions and sizes to what the engine can
// draw: sizes of the pictures made from them to the screen's size, positions
// and pitches to the coordinate range. Each value changed adds a note.

namespace veskar {

struct GameDefinition;

void boundDefinitionGeometry(GameDefinition& definition);

} // namespace veskar
