// Arbitrary bytes as a skin layout: parsed, then built into a control tree
// with a window manager, laid out and painted (the parse alone for bytes
// that start otherwise).
// Nothing a layout says may crash the parser or the builder.
#include "platform/CairoPainter.h"
#include "ui/LayoutBuilder.h"
#include "ui/MarkupDocument.h"
#include "ui/WindowUIManager.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SkinUI::CMarkupDocument doc;
    if (!doc.LoadBytes(data, size, size > 0 ? data[0] % 3 : 0))
        return 0;
    // Walk everything the cursors offer.
    for (SkinUI::CMarkupCursor node = doc.Root(); node.Valid(); node = node.NextSibling()) {
        for (size_t i = 0; i <= node.AttributeCount(); ++i)
            (void)node.AttributeValue(i);
    }
    // Build the same text (each byte a character) into a tree.
    if (size > 0 && data[0] == '<') {
        SkinUI::CWindowUIManager manager;
        manager.SetHasNativeWindow(size % 2 == 0);
        SkinUI::CLayoutBuilder builder;
        auto root = builder.CreateDetached(std::u16string(data, data + size), nullptr, &manager);
        if (root) {
            // Lay it out and paint it: any attribute may meet the painter.
            manager.SetRoot(root.get());
            root->SetItemRect({0, 0, 160, 120});
            platform::CairoPainter painter(160, 120);
            manager.PaintAll(painter);
            manager.SetRoot(nullptr);
        }
    }
    return 0;
}
