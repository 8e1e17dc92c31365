#pragma once
// The value lists of a land that several screens offer (the land register, the choosers, the lifecycle
// screens, the land report), in the order a clerk sees them.

#include <QStringList>

namespace parcelon {

// The permit kinds (balapa_no1).
const QStringList &permitKinds();
// The land's nature (loan_sbawaya).
const QStringList &landNatures();
// The ownership kinds (aythiye_sbawaya). Two entries carry the number 5; both are kept, in this order.
const QStringList &ownershipKinds();

} // namespace parcelon
