#include "app/RefusedPictures.h"

namespace NeritApp {

void RefusedPictures::Report(const SkinUI::ImageRefusal& refusal)
{
    if (!told_.insert(refusal.source).second)
        return;
    std::fprintf(out_, "NeritMice: the picture %s is %ux%u pixels, larger than a window can use; it is not drawn\n",
                 refusal.source.c_str(), static_cast<unsigned>(refusal.width), static_cast<unsigned>(refusal.height));
}

SkinUI::ImageRefusalHandler RefusedPictures::Handler()
{
    return [this](const SkinUI::ImageRefusal& refusal) { Report(refusal); };
}

}  // namespace NeritApp
