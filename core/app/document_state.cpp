#include "app/document_state.h"

#include <algorithm>

bool DocumentState::lockable(DataKind kind) {
    return kind == DataKind::Walls || kind == DataKind::Sprites || kind == DataKind::Graphics ||
           kind == DataKind::Sounds;
}

bool DocumentState::changed(DataKind kind) const {
    return index(kind) < kChangeTrackedKinds && m_changed[index(kind)];
}

bool DocumentState::setChanged(DataKind kind, bool value) {
    if (index(kind) >= kChangeTrackedKinds || locked(kind) || m_changed[index(kind)] == value)
        return false;
    m_changed[index(kind)] = value;
    if (onChangedFlag)
        onChangedFlag(kind);
    return true;
}

void DocumentState::setLocked(DataKind kind, bool value) {
    if (lockable(kind))
        m_locked[index(kind)] = value;
}

bool DocumentState::locked(DataKind kind) const { return lockable(kind) && m_locked[index(kind)]; }

bool DocumentState::anythingUnsaved() const {
    return std::any_of(m_changed.begin(), m_changed.end(), [](bool flag) { return flag; });
}
