#pragma once
// What the editor knows about its open game data as a whole: which kinds are loaded, which have
// unsaved changes (and which of those flags are locked), the current map, Load All, and the
// lists filled at start. Changed flags change only through setChanged().

#include "app/extensions.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

enum class DataKind { Maps, Walls, Sprites, Sounds, Graphics, Fonts, Tile8s, Screens, Music };
constexpr size_t kDataKindCount = 9;
constexpr size_t kChangeTrackedKinds = 8; // music has no changed flag


class DocumentState {
public:
    std::string programFolder;
    uint16_t currentMap = 0;
    bool thirdPlaneEnabled = false;
    bool loadAllUsed = false;
    uint64_t lastFileOperationMs = 0;
    bool tooltipsEnabled = true;
    int wheelStep = 120;
    ExtensionTable extensions;
    std::vector<std::string> mapObjectFolders;
    std::vector<std::string> paletteNames;

    bool loaded(DataKind kind) const { return m_loaded[index(kind)]; }
    void setLoaded(DataKind kind, bool value) { m_loaded[index(kind)] = value; }

    bool changed(DataKind kind) const;
    // Ignored while the kind is locked or when nothing changes; true when the flag changed.
    bool setChanged(DataKind kind, bool value);
    // Locks exist for walls, sprites, graphics and sounds only.
    void setLocked(DataKind kind, bool locked);
    bool locked(DataKind kind) const;

    bool anythingUnsaved() const;
    bool saveAllEnabled() const { return loadAllUsed && anythingUnsaved(); }

    // Called after every effective change of a changed flag (the main dialog updates Save All
    // and refreshes the map page from it).
    std::function<void(DataKind)> onChangedFlag;

private:
    static size_t index(DataKind kind) { return static_cast<size_t>(kind); }
    static bool lockable(DataKind kind);

    std::array<bool, kDataKindCount> m_loaded{};
    std::array<bool, kChangeTrackedKinds> m_changed{};
    std::array<bool, kDataKindCount> m_locked{};
};
