#include "demo/jitter_tables.h"

namespace {

constexpr JitterPoint NO_JITTER[] = {{0.0, 0.0}};

constexpr JitterPoint JITTER_2[] = {{0.246490, 0.249999}, {-0.246490, -0.249999}};

constexpr JitterPoint JITTER_3[] = {{-0.373411, -0.250550}, {0.256263, 0.368119}, {0.117148, -0.117570}};

constexpr JitterPoint JITTER_4[] = {
    {-0.208147, 0.353730}, {0.203849, -0.353780}, {-0.292626, -0.149945}, {0.296924, 0.149994}};

constexpr JitterPoint JITTER_8[] = {
    {-0.334818, 0.435331}, {0.286438, -0.393495}, {0.459462, 0.141540},  {-0.414498, -0.192829},
    {-0.183790, 0.082102}, {-0.079263, -0.317383}, {0.102254, 0.299133}, {0.164216, -0.054399}};

constexpr JitterPoint JITTER_16[] = {
    {0.0, 0.0},            {0.285561, 0.188437},   {0.360176, -0.065688},  {-0.111751, 0.275019},
    {-0.055918, -0.215197}, {-0.080231, -0.470965}, {0.138721, 0.409168},  {0.384120, 0.458500},
    {-0.454968, 0.134088}, {0.179271, -0.331196},  {-0.307049, -0.364927}, {0.105354, -0.010099},
    {-0.154180, 0.021794}, {-0.370135, -0.116425}, {0.451636, -0.300013},  {-0.370610, 0.387504}};

}  // namespace

std::span<const JitterPoint> JitterTableForLevel(int fsaaLevel) {
  switch (fsaaLevel) {
    case 2: return JITTER_2;
    case 3: return JITTER_3;
    case 4: return JITTER_4;
    case 8: return JITTER_8;
    case 16: return JITTER_16;
    default: return NO_JITTER;
  }
}
