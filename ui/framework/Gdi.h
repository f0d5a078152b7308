#pragma once

#include <windows.h>

// Small owners for GDI resources made during one paint. The paints declare
// the memory DC, then the object, then the SelectGuard. Locals are destroyed
// in reverse order, so the guard, declared last, selects the DC's previous
// object back before the object or the DC goes: nothing is deleted while
// selected, and a borrowed DC goes back with the objects it came with. Which
// of the DC and the object comes first does not matter; that the guard comes
// after both does.

// A memory device context, deleted with DeleteDC.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatibleWith) : dc(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDC()
    {
        if (dc)
            DeleteDC(dc);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;

    HDC Get() const { return dc; }
    explicit operator bool() const { return dc != nullptr; }

private:
    HDC dc;
};

// A bitmap, pen, brush or region, deleted with DeleteObject.
template <typename Handle>
class GdiObject {
public:
    explicit GdiObject(Handle h = nullptr) : handle(h) {}
    ~GdiObject() { Reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    Handle Get() const { return handle; }
    explicit operator bool() const { return handle != nullptr; }
    void Reset(Handle h = nullptr)
    {
        if (handle)
            DeleteObject(handle);
        handle = h;
    }
    // Hands the object to a new owner, such as the window that takes a region.
    Handle Release()
    {
        Handle h = handle;
        handle = nullptr;
        return h;
    }

private:
    Handle handle;
};

// Selects an object into a DC for the guard's lifetime (SelectObject), then
// selects the previous object back.
class SelectGuard {
public:
    SelectGuard(HDC target, HGDIOBJ object)
        : dc(target), previous(target && object ? SelectObject(target, object) : nullptr)
    {
    }
    ~SelectGuard()
    {
        if (previous)
            SelectObject(dc, previous);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

    bool Selected() const { return previous != nullptr; }

private:
    HDC dc;
    HGDIOBJ previous;
};
