// PLACEHOLDER until the compiled-sprite generator lands: no sprite ever compiles.
#include "gfx/CompiledSprite.h"

#include "gfx/Image.h"

namespace trellisor {

CompiledSprite::~CompiledSprite() = default;
void CompiledSprite::run(std::uint8_t*, std::int32_t) const {}

bool Image::buildCompiledSprite(bool) { return false; }
bool Image::hasCompiledSprite() const { return m_compiledOpaque || m_compiledTransparent; }
bool Image::hasCompiledOpaque() const { return m_compiledOpaque; }
bool Image::hasCompiledTransparent() const { return m_compiledTransparent; }
void Image::freeCompiledSprite() {
    m_compiledCode.reset();
    m_compiledOpaque = m_compiledTransparent = false;
}

}  // namespace trellisor
