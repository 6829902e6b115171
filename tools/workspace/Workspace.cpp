// The starter catalogue and the writer of the sample workspace folder.
#include "workspace/Workspace.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "base/Files.h"
#include "object/DescriptorFile.h"
#include "object/NewPath.h"
#include "object/ObjectFile.h"
#include "object/TypeFile.h"
#include "preview/PreviewIcons.h"
#include "workspace/GrassTexture.h"
#include "workspace/PcxWriter.h"
#include "workspace/RailingArt.h"
#include "workspace/SupportArt.h"
#include "workspace/SurfaceArt.h"

namespace trellisor::workspace {

namespace {

SurfaceStyle surface(SurfacePattern pattern, int ramp, int shade, int kerbRamp, int kerbShade, int groutRamp,
                     int groutShade, std::uint32_t seed) {
    return {pattern, ramp, shade, kerbRamp, kerbShade, groutRamp, groutShade, seed};
}

std::vector<StarterType> buildCatalogue() {
    using P = SurfacePattern;
    std::vector<StarterType> t;
    auto path = [&](std::string name, std::string file, SurfaceStyle s) {
        t.push_back({PagePath, std::move(name), std::move(file), [s] { return drawPathSurfaces(s); }});
    };
    auto queue = [&](std::string name, std::string file, SurfaceStyle s) {
        t.push_back({PageQueue, std::move(name), std::move(file), [s] { return drawQueueSurfaces(s); }});
    };
    auto rail = [&](int page, std::string name, std::string file, RailingStyle s) {
        if (page == PagePathRailings)
            t.push_back({page, std::move(name), std::move(file), [s] { return drawPathRailings(s); }});
        else
            t.push_back({page, std::move(name), std::move(file), [s] { return drawQueueRailings(s); }});
    };
    auto support = [&](std::string name, std::string file, SupportStyle s, std::uint8_t type,
                       std::uint8_t flags) {
        const int count = supportSpriteCount(type, flags);
        t.push_back({PageSupports, std::move(name), std::move(file),
                     [s, count] { return drawSupports(s, count); }, type, flags});
    };
    path("Tarmac", "TARMAC.PTH", surface(P::Asphalt, 0, 3, 0, 9, 0, 2, 11));
    path("Dirt Path", "DIRT.PTH", surface(P::Dirt, 17, 5, 17, 3, 17, 2, 21));
    path("Crazy Paving", "CRAZYPAV.PTH", surface(P::CrazyPaving, 8, 6, 0, 7, 17, 2, 31));
    path("Garden Slabs", "SLABS.PTH", surface(P::Tiles, 17, 7, 17, 4, 17, 3, 41));
    rail(PagePathRailings, "Wooden Railings", "WOODRAIL.PTH", {RailingStyle::Kind::Fence, 17, 4, 17, 6, 0.7});
    rail(PagePathRailings, "Metal Railings", "METLRAIL.PTH", {RailingStyle::Kind::Fence, 0, 6, 0, 8, 0.65});
    queue("Blue Queue", "QBLUE.PTH", surface(P::Tiles, 10, 6, 0, 8, 10, 3, 51));
    queue("Red Queue", "QRED.PTH", surface(P::Tiles, 4, 6, 0, 8, 4, 3, 61));
    rail(PageQueueRailings, "Chrome Queue Rails", "QCHROME.PTH",
         {RailingStyle::Kind::Fence, 0, 8, 0, 10, 0.75});
    rail(PageQueueRailings, "Red Rope Barriers", "QROPE.PTH", {RailingStyle::Kind::Rope, 3, 7, 13, 6, 0.75});
    support("Timber Trestles", "TRESTLE.PTH", {SupportStyle::Kind::Trestle, 17, 5, 17, 6, true}, 0, 2);
    support("Steel Poles", "STEELPOL.PTH", {SupportStyle::Kind::Poles, 9, 6, 0, 6, false}, 1, 3);
    support("Concrete Pillars", "CONCRETE.PTH", {SupportStyle::Kind::Poles, 0, 7, 0, 7, false}, 1, 2);
    return t;
}

}  // namespace

const std::vector<StarterType>& starterTypes() {
    static const std::vector<StarterType> catalogue = buildCatalogue();
    return catalogue;
}

const StarterType* findStarterType(const std::string& name) {
    for (const auto& t : starterTypes())
        if (t.name == name) return &t;
    return nullptr;
}

const std::vector<SampleObject>& sampleObjects() {
    static const std::vector<SampleObject> samples = {
        {"SAMPLE.DAT",
         "Sample Path",
         {"Crazy Paving", "Wooden Railings", "Red Queue", "Red Rope Barriers", "Timber Trestles"}},
        {"SAMPLE2.DAT",
         "Sample Steel Path",
         {"Tarmac", "Metal Railings", "Blue Queue", "Chrome Queue Rails", "Steel Poles"}},
    };
    return samples;
}

PathObject pageObject(int page, const std::vector<SpriteData>& sprites, std::uint8_t supportType,
                      std::uint8_t pathFlags) {
    PathObject obj;
    obj.resetToEmptyChunk();
    const int first = obj.pageFirstSprite(page);
    for (std::size_t i = 0; i < sprites.size(); ++i) {
        const SpriteHeader& h = sprites[i].header;
        obj.replaceSprite(unsigned(first + int(i)), 0, h.word1(), h.word2(), h.word3(),
                          std::uint32_t(sprites[i].bytes.size()), sprites[i].bytes.data());
    }
    obj.m_supportType = supportType;
    obj.m_pathFlags = pathFlags;
    return obj;
}

Status writeWorkspace(const std::string& dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) return Status::fail("cannot create " + dir + ": " + ec.message());

    const auto grass = drawGrass();
    if (auto s = writePcx8(joinPath(dir, kGrassFileName), kGrassWidth, kGrassHeight, grass, gamePcxPalette());
        !s)
        return s;

    std::array<std::vector<TypeEntry>, 6> lists;
    for (const StarterType& t : starterTypes()) {
        const PathObject obj = pageObject(t.page, t.draw(), t.supportType, t.pathFlags);
        if (auto s = writeTypeFile(obj, t.page, joinPath(dir, t.fileName)); !s)
            return Status::fail(t.fileName + ": " + s.error());
        lists[std::size_t(t.page)].push_back({t.name, t.fileName});
    }
    for (int page = PagePath; page <= PageSupports; ++page) {
        const char* name = kPages[std::size_t(page)].descriptorFile;
        if (auto s = writeDescriptorFile(joinPath(dir, name), lists[std::size_t(page)]); !s)
            return Status::fail(std::string(name) + ": " + s.error());
    }

    // Each sample is New over one-entry lists, so it does not depend on the random choice.
    for (const SampleObject& sample : sampleObjects()) {
        std::array<std::vector<TypeEntry>, 6> chosen;
        for (const std::string& name : sample.types) {
            const StarterType* t = findStarterType(name);
            if (!t) return Status::fail("no starter type named " + name);
            chosen[std::size_t(t->page)].push_back({t->name, t->fileName});
        }
        std::srand(1);
        PathObject obj;
        if (auto s = assembleNewPath(obj, chosen, dir); !s)
            return Status::fail(sample.fileName + ": " + s.error());
        composePreviewIcons(obj);
        std::array<std::string, kLanguageCount> texts;
        texts.fill(sample.text);
        if (auto s = saveObjectFile(obj, joinPath(dir, sample.fileName), sample.fileName, texts); !s)
            return Status::fail(sample.fileName + ": " + s.error());
    }
    return Status::ok();
}

}  // namespace trellisor::workspace
