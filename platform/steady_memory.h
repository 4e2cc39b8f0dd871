// Keeps the program's resident memory from wandering over a long session.
// glibc raises its threshold for giving large blocks their own mapping each
// time such a block is freed; after a few pictures have been loaded and
// dropped, later ones come from the heap, whose top is kept or trimmed by
// chance, and resident memory drifts up and down by megabytes with nothing
// leaked. A fixed threshold keeps large blocks (pictures, frame buffers) in
// mappings of their own that go back to the system when freed. The heap's
// free top, on the other hand, is kept rather than trimmed after every
// frame: the software renderer's per-frame blocks then reuse the same
// pages instead of faulting fresh ones in; the one-off jobs below hand
// freed pages back explicitly.
#pragma once

namespace quorbel {

// Call once, first thing in main.
void KeepResidentMemorySteady();

// After a one-off job that made and dropped many small blocks (a picture
// decoded and uploaded, the glyphs rebuilt): hands the pages left free
// inside the heaps back to the system, so that resident memory shows what
// is alive rather than where the heap last reached. It walks the heaps, a
// millisecond or so: never per frame.
void ReturnFreedMemory();

}  // namespace quorbel
