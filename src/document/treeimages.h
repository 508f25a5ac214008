#pragma once
// The seven 16x16 images of a document window's object tree and message list, drawn
// in code: root object, non-visual component, control, collection, and the marks of
// the error, warning and information messages. Indexed by fw::NodeImage.

#include <QIcon>
#include <array>

namespace fw {

constexpr int TreeImageCount = 7;
constexpr int TreeImageSize = 16;

// The images, drawn once per process (needs a QGuiApplication). Each icon shows the
// same picture in its normal and selected modes.
const std::array<QIcon, TreeImageCount>& TreeImages();

}  // namespace fw
