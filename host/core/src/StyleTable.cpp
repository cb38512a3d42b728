#include "hostcore/StyleTable.h"

namespace hostcore {

namespace {

template <class T>
void appendBytes(std::string& key, const T& value) {
  key.append(reinterpret_cast<const char*>(&value), sizeof value);
}

void appendColor(std::string& key, const AIColor& color) {
  appendBytes(key, color.kind);
  appendBytes(key, color.red);
  appendBytes(key, color.green);
  appendBytes(key, color.blue);
  appendBytes(key, color.paintServer);
}

// Field by field, so padding never makes equal styles differ.
std::string styleKey(const AIPathStyle& s, const AIPathStyleMap& m) {
  std::string key;
  appendBytes(key, s.fillPaint);
  appendBytes(key, s.strokePaint);
  appendColor(key, s.fill.color);
  appendBytes(key, s.fill.opacity);
  appendColor(key, s.stroke.color);
  appendBytes(key, s.stroke.opacity);
  appendBytes(key, s.stroke.width);
  appendBytes(key, s.clip);
  appendBytes(key, s.evenOdd);
  appendBytes(key, m.fillPaint);
  appendBytes(key, m.strokePaint);
  appendBytes(key, m.fill);
  appendBytes(key, m.stroke);
  appendBytes(key, m.clip);
  appendBytes(key, m.evenOdd);
  return key;
}

}  // namespace

uint32_t StyleTable::intern(const AIPathStyle& pathStyle, const AIPathStyleMap& paintData) {
  const auto at = indexByKey_.emplace(styleKey(pathStyle, paintData), uint32_t(styles_.size()));
  if (at.second) styles_.push_back(ArtStyle{pathStyle, paintData});
  return at.first->second;
}

AIPathStyle StyleTable::cleared() {
  AIPathStyle style{};
  style.fill.color.kind = kNoColor;
  style.fill.opacity = 1;
  style.stroke.color.kind = kNoColor;
  style.stroke.opacity = 1;
  style.stroke.width = 1;
  return style;
}

}  // namespace hostcore
