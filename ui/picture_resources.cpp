#include "ui/picture_resources.h"

#include <windows.h>

namespace quorvin {
namespace {

std::span<const std::uint8_t> FromResources(PictureId id) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(static_cast<int>(id)), RT_RCDATA);
  if (resource == nullptr) return {};
  HGLOBAL loaded = LoadResource(module, resource);
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) return {};
  return {static_cast<const std::uint8_t*>(bytes), SizeofResource(module, resource)};
}

PictureSource source = &FromResources;

}  // namespace

std::span<const std::uint8_t> PictureBytes(PictureId id) {
  return id == PictureId::kNone ? std::span<const std::uint8_t>{} : source(id);
}

void SetPictureSource(PictureSource newSource) {
  source = newSource != nullptr ? newSource : &FromResources;
}

}  // namespace quorvin
