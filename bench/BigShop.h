#pragma once

namespace store {
class Workbook;
}

// The big shop the benchmarks share, opened once from the file store_bench writes.
store::Workbook& bigShop();
