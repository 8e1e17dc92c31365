#pragma once
// Every control can be addressed by screen readers and outside test tools: its accessible description
// is its name, and each caption label is the buddy of the box it names.

#include <initializer_list>
#include <utility>

class QWidget;

namespace parcelon {

void applyAccessibility(QWidget *form, std::initializer_list<std::pair<const char *, const char *>> labelBuddies = {});

} // namespace parcelon
