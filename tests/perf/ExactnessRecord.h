#pragma once
// Real states of the karts after each move of the exactness scenarios, recorded from the plain
// scalar path, one thread, with the model's own sine and cosine and one random stream per future
// (printed with %a, so every bit is kept). Kart by kart within a move, move by move.

#include <cstdint>

inline constexpr int ExactnessParamCount = 14;
inline constexpr int ExactnessMoves = 5;
inline constexpr int ExactnessFutures = 200;
inline constexpr uint64_t ExactnessSeed = 20260;

struct TRecordedKart {
  double Value[ExactnessParamCount];
  double PrevValue[ExactnessParamCount];
  int32_t IntValue[ExactnessParamCount];
  double Score;
  double TeamAvgScore;
  double ScoreFactor;
  int32_t FutureCount;
  int32_t GridSize;
  int32_t DistinctFutures;
};

// clang-format off
inline const TRecordedKart OneKartRecord[] = {
    {{0x1p+3, 0x0p+0, 0x1.8fffb86e2ed2fp+7, 0x1.cc0546888e818p+8, 0x1.921fb54442d18p+0, -0x1.dd2172820527fp-9, 0x1.195c7305a4c6fp-3, 0x1.b20596fe61a97p-5, 0x1.5fd32983623dp+0, 0x1.9p+6, 0x0p+0, 0x0p+0, 0x1.0f437e5efd09ep-1, 0x1.b7c7f3e43acc4p+3, },
     {0x1p+3, 0x0p+0, 0x1.9p+7, 0x1.ccp+8, 0x1.921fb54442d18p+0, 0x0p+0, 0x0p+0, 0x0p+0, 0x0p+0, 0x1.9p+6, 0x0p+0, 0x0p+0, 0x1.f15161a59e5ap-3, 0x1.9fbb761a7174p+1, },
     {8000, 0, 200000, 460000, 1571, 0, 0, 0, 0, 100000, 0, 0, 0, 0, },
     0x1.a6309837437a3p-7, 0x0p+0, 0x1p+0, 1, 9, 109},
    {{0x1p+3, 0x0p+0, 0x1.9000c37ca2cbfp+7, 0x1.cc1bef6ec14e4p+8, 0x1.921ad46558e51p+0, 0x1.bd18169f11084p-7, 0x1.453988cb7f9eep-1, -0x1.bbde17ce202e9p-5, 0x1.400b5ae9b7054p+2, 0x1.9p+6, 0x0p+0, 0x0p+0, -0x1.1257269fe8938p+0, 0x1.221c34ab16138p+5, },
     {0x1p+3, 0x0p+0, 0x1.8fffb86e2ed2fp+7, 0x1.cc0546888e818p+8, 0x1.921fb54442d18p+0, -0x1.dd2172820527fp-9, 0x1.195c7305a4c6fp-3, 0x1.b20596fe61a97p-5, 0x1.5fd32983623dp+0, 0x1.9p+6, 0x0p+0, 0x0p+0, -0x1.d39b65829407ep-2, 0x1.2412cf7f34a39p+3, },
     {8000, 0, 200000, 460000, 1571, 0, 0, 0, 0, 100000, 0, 0, 0, 0, },
     0x1.176e6ebae93fcp-4, 0x0p+0, 0x1p+0, 1, 8, 125},
    {{0x1p+3, 0x0p+0, 0x1.8ffd7f2fadef5p+7, 0x1.cc5250f739cep+8, 0x1.923de5c63bfbdp+0, -0x1.5c54d8006f45fp-5, 0x1.9fed08326150fp+0, 0x1.590b6d1c4872ap-4, 0x1.4p+3, 0x1.9p+6, 0x0p+0, 0x0p+0, 0x1.625c8ba217563p+0, 0x1.9f4b485857e87p+5, },
     {0x1p+3, 0x0p+0, 0x1.9000c37ca2cbfp+7, 0x1.cc1bef6ec14e4p+8, 0x1.921ad46558e51p+0, 0x1.bd18169f11084p-7, 0x1.453988cb7f9eep-1, -0x1.bbde17ce202e9p-5, 0x1.400b5ae9b7054p+2, 0x1.9p+6, 0x0p+0, 0x0p+0, 0x1.6565bc3b9639p-1, 0x1.e0ee1ef3a382ep+1, },
     {8000, 0, 200000, 460000, 1571, 0, 0, 0, 0, 100000, 0, 0, 0, 0, },
     0x1.9bbe46163772fp-3, 0x0p+0, 0x1p+0, 1, 8, 148},
    {{0x1p+3, 0x0p+0, 0x1.8ff7db0d62aa5p+7, 0x1.cca192aeb9406p+8, 0x1.92d39118a475ap+0, -0x1.2dde16c18354ep-4, 0x1.4c7440336ff26p+1, 0x1.1fdf8e8814e9dp-3, 0x1.4p+3, 0x1.9p+6, 0x0p+0, 0x0p+0, 0x1.20609bf0d9b94p-1, 0x1.b4269a32e88cap+5, },
     {0x1p+3, 0x0p+0, 0x1.8ffd7f2fadef5p+7, 0x1.cc5250f739cep+8, 0x1.923de5c63bfbdp+0, -0x1.5c54d8006f45fp-5, 0x1.9fed08326150fp+0, 0x1.590b6d1c4872ap-4, 0x1.4p+3, 0x1.9p+6, 0x0p+0, 0x0p+0, 0x1.e18d7679958p-3, 0x1.b579a13e59f8ap+4, },
     {8000, 0, 200000, 460000, 1571, 0, 0, 0, 0, 100000, 0, 0, 0, 0, },
     0x1.94238a2933c12p-2, 0x0p+0, 0x1p+0, 1, 7, 131},
    {{0x1p+3, 0x0p+0, 0x1.8feec8f1f9eecp+7, 0x1.cd0932829a736p+8, 0x1.943a9592bd187p+0, -0x1.ed5afebd8fa4fp-4, 0x1.c688e1185eafap+1, 0x1.afeda884da6acp-3, 0x1.4p+3, 0x1.9p+6, 0x0p+0, 0x0p+0, 0x1.682340f7edc24p-1, 0x1.5a57b52b87641p+3, },
     {0x1p+3, 0x0p+0, 0x1.8ff7db0d62aa5p+7, 0x1.cca192aeb9406p+8, 0x1.92d39118a475ap+0, -0x1.2dde16c18354ep-4, 0x1.4c7440336ff26p+1, 0x1.1fdf8e8814e9dp-3, 0x1.4p+3, 0x1.9p+6, 0x0p+0, 0x0p+0, 0x1.4527845603938p-2, 0x1.34e44916a92bp+3, },
     {8000, 0, 200000, 460000, 1571, 0, 0, 0, 0, 100000, 0, 0, 0, 0, },
     0x1.4bb94ca4c460ap-1, 0x0p+0, 0x1p+0, 1, 7, 148},
};
inline const TRecordedKart ThreeKartsRecord[] = {
    {{0x1p+3, 0x0p+0, 0x1.90c4d8cf4c2f6p+7, 0x1.c00cd66180abdp+8, 0x1.921fb54442d18p+0, -0x1.123d5c8f2db28p-6, 0x1.258bf5b6e0ad2p-2, 0x1.d95704343247dp-4, 0x1.77456a7bf0664p+1, 0x1.9p+6, 0x0p+0, 0x0p+0, 0x1.27d662a09f6cep+0, 0x1.d516c51aec7fcp+4, },
     {0x1p+3, 0x0p+0, 0x1.9p+7, 0x1.ccp+8, 0x1.921fb54442d18p+0, -0x1.1564cbdb78659p-6, 0x1.2bb745dece26fp-2, 0x0p+0, 0x0p+0, 0x1.9p+6, 0x0p+0, 0x0p+0, 0x1.16677ab71624fp-1, 0x1.d516c51aec7fcp+4, },
     {8000, 0, 200000, 460000, 1571, 0, 0, 0, 0, 100000, 0, 0, 0, 0, },
     0x1.c2534c94bb5c8p-6, 0x0p+0, 0x1p+0, 1, 8, 103},
    {{0x1p+3, 0x0p+0, 0x1.8f559c4888963p+7, 0x1.d625006988864p+8, 0x1.921fb54442d18p+0, -0x1.465c4d3138598p-5, 0x1.ff97f19f9bfc8p-1, 0x1.46726af60bcb5p-4, 0x1.4p+3, 0x1.9p+6, 0x0p+0, 0x0p+0, 0x1.980f05b38ebe2p-1, 0x1.c1636a2832643p+6, },
     {0x1p+3, 0x0p+0, 0x1.9p+7, 0x1.ccp+8, 0x1.921fb54442d18p+0, -0x1.465c4d3138598p-5, 0x1.ff97f19f9bfc8p-1, 0x0p+0, 0x0p+0, 0x1.9p+6, 0x0p+0, 0x0p+0, 0x1.8b7926f8f01acp-2, 0x1.9cc9a83f0680bp+4, },
     {8000, 0, 200000, 460000, 1571, 0, 0, 0, 0, 100000, 0, 0, 0, 0, },
     0x1.7fffffffffa29p-4, 0x0p+0, 0x1p+0, 1, 9, 122},
    {{0x1p+3, 0x0p+0, 0x1.8fe1d707f54e3p+7, 0x1.ce0a869c615bp+8, 0x1.921fb54442d18p+0, 0x1.1220e9597e8c1p-7, 0x1.24feeccdefa03p-2, -0x1.f4701a775cb1dp-5, 0x1.66b358d0487d4p+1, 0x1.9p+6, 0x0p+0, 0x0p+0, -0x1.38c6108a99ef2p-1, 0x1.c0602f045a9c8p+4, },
     {0x1p+3, 0x0p+0, 0x1.9p+7, 0x1.ccp+8, 0x1.921fb54442d18p+0, 0x1.1220e9597e8c1p-7, 0x1.24feeccdefa03p-2, 0x0p+0, 0x0p+0, 0x1.9p+6, 0x0p+0, 0x0p+0, -0x1.301eb61a1b39p-2, 0x1.4dd100f876f4ap+4, },
     {8000, 0, 200000, 460000, 1571, 0, 0, 0, 0, 100000, 0, 0, 0, 0, },
     0x1.ae70d0f9eedd8p-6, 0x0p+0, 0x1p+0, 1, 9, 119},
    {{0x1p+3, 0x0p+0, 0x1.90e3e696a7e6p+7, 0x1.be1c774aff852p+8, 0x1.9235265e40931p+0, -0x1.8f9ad44fa51dap-7, 0x1.fa796eeaab788p-2, 0x1.d37b2860405f2p-4, 0x1.10209bdb3f62p+1, 0x1.9p+6, 0x0p+0, 0x0p+0, -0x1.d4b4b23b98b8p-7, -0x1.01dc0491ba8a9p+3, },
     {0x1p+3, 0x0p+0, 0x1.90c4d8cf4c2f6p+7, 0x1.c00cd66180abdp+8, 0x1.921fb54442d18p+0, -0x1.8f9ad44fa51dap-7, 0x1.fa796eeaab788p-2, 0x1.d95704343247dp-4, 0x1.77456a7bf0664p+1, 0x1.9p+6, 0x0p+0, 0x0p+0, -0x1.003e223d9d1dp-5, -0x1.d16b8b23eabbap+2, },
     {8000, 0, 200000, 460000, 1571, 0, 0, 0, 0, 100000, 0, 0, 0, 0, },
     0x1.0a706bef3e904p-4, 0x0p+0, 0x1p+0, 1, 7, 114},
    {{0x1p+3, 0x0p+0, 0x1.8eec33985fff8p+7, 0x1.dc63b0c4dfe63p+8, 0x1.9220ecc35b5d6p+0, -0x1.f0d5891f108c3p-11, 0x1.fbebde3cfd907p+0, 0x1.e719953a4244p-10, 0x1.4p+3, 0x1.9p+6, 0x0p+0, 0x0p+0, -0x1.8e8b85c96b72dp-1, 0x1.079a22933b842p+7, },
     {0x1p+3, 0x0p+0, 0x1.8f559c4888963p+7, 0x1.d625006988864p+8, 0x1.921fb54442d18p+0, -0x1.f0d5891f108c3p-11, 0x1.fbebde3cfd907p+0, 0x1.46726af60bcb5p-4, 0x1.4p+3, 0x1.9p+6, 0x0p+0, 0x0p+0, -0x1.e38d7542c79d4p-2, 0x1.49ee8b15eab16p+4, },
     {8000, 0, 200000, 460000, 1571, 0, 0, 0, 0, 100000, 0, 0, 0, 0, },
     0x1.fdf5f0a5c10d8p-3, 0x0p+0, 0x1p+0, 1, 9, 139},
    {{0x1p+3, 0x0p+0, 0x1.902cc9ab266d7p+7, 0x1.ca23aff2de0a5p+8, 0x1.920e72aa8b3ffp+0, 0x1.55c4bf5026569p-6, 0x1.76df964c657cep-1, -0x1.7904e35b09cf2p-4, 0x1.208877b9072a8p+2, 0x1.9p+6, 0x0p+0, 0x0p+0, -0x1.3d00174e64a79p-2, 0x1.10f4fc4a374dap+4, },
     {0x1p+3, 0x0p+0, 0x1.8fe1d707f54e3p+7, 0x1.ce0a869c615bp+8, 0x1.921fb54442d18p+0, 0x1.55c4bf5026569p-6, 0x1.76df964c657cep-1, -0x1.f4701a775cb1dp-5, 0x1.66b358d0487d4p+1, 0x1.9p+6, 0x0p+0, 0x0p+0, -0x1.aecf68c5a3568p-3, 0x1.e5e65b52db637p+3, },
     {8000, 0, 200000, 460000, 1571, 0, 0, 0, 0, 100000, 0, 0, 0, 0, },
     0x1.60d29235a33e2p-4, 0x0p+0, 0x1p+0, 1, 8, 132},
    {{0x1p+3, 0x0p+0, 0x1.9100ca11359efp+7, 0x1.bc1cab76770a4p+8, 0x1.9235265e40931p+0, 0x0p+0, 0x0p+0, 0x1.7e54d03085aep-3, -0x1.9f1cab405666ep+0, 0x1.9p+6, 0x0p+0, 0x0p+0, 0x1.737a1600fdbc1p-1, -0x1.2bcd56ed229d6p+5, },
     {0x1p+3, 0x0p+0, 0x1.90e3e696a7e6p+7, 0x1.be1c774aff852p+8, 0x1.9235265e40931p+0, -0x0p+0, 0x0p+0, 0x1.d37b2860405f2p-4, 0x1.10209bdb3f62p+1, 0x1.9p+6, 0x0p+0, 0x0p+0, 0x1.33bd02480311cp-2, -0x1.6c4f4ec30fe69p+3, },
     {8000, 0, 200000, 460000, 1571, 0, 0, 0, 0, 100000, 0, 0, 0, 0, },
     0x1.0a706bef3e904p-4, 0x0p+0, 0x1p+0, 1, 7, 138},
    {{0x1p+3, 0x0p+0, 0x1.8ef15b72e0e75p+7, 0x1.dcbc04da40439p+8, 0x1.9178c6a370fa4p+0, 0x1.12eb82738f356p-4, 0x1.79c9676838ca2p+1, -0x1.08d7aaf13c76p-3, 0x1.4p+3, 0x1.9p+6, 0x0p+0, 0x0p+0, -0x1.4fcf55a29d393p+0, 0x1.fcad80ef875cdp+0, },
     {0x1p+3, 0x0p+0, 0x1.8eec33985fff8p+7, 0x1.dc63b0c4dfe63p+8, 0x1.9220ecc35b5d6p+0, -0x1.f0d5891f108c3p-11, 0x1.fbebde3cfd907p+0, 0x1.e719953a4244p-10, 0x1.4p+3, 0x1.9p+6, 0x0p+0, 0x0p+0, -0x1.8c0df9ac036fap-1, -0x1.28cde5350094p+1, },
     {8000, 0, 200000, 460000, 1571, 0, 0, 0, 0, 100000, 0, 0, 0, 0, },
     0x1.dbe53f93a128cp-2, 0x0p+0, 0x1p+0, 1, 9, 143},
    {{0x1p+3, 0x0p+0, 0x1.90160054c5aa7p+7, 0x1.cc5c391c6294bp+8, 0x1.91c3964b401d5p+0, 0x1.45b495c7db723p-4, 0x1.b7cc95f8c5084p+0, -0x1.3f82fe8bc9cf8p-3, 0x1.4p+3, 0x1.9p+6, 0x0p+0, 0x0p+0, -0x1.4781602bac43fp-1, 0x1.2329f795c1f75p+6, },
     {0x1p+3, 0x0p+0, 0x1.902cc9ab266d7p+7, 0x1.ca23aff2de0a5p+8, 0x1.920e72aa8b3ffp+0, 0x1.45b495c7db723p-4, 0x1.b7cc95f8c5084p+0, -0x1.7904e35b09cf2p-4, 0x1.208877b9072a8p+2, 0x1.9p+6, 0x0p+0, 0x0p+0, -0x1.0b7a2bc59740ep-2, 0x1.05f13681aedfp+2, },
     {8000, 0, 200000, 460000, 1571, 0, 0, 0, 0, 100000, 0, 0, 0, 0, },
     0x1.cc84def3a3395p-3, 0x0p+0, 0x1p+0, 1, 7, 123},
    {{0x1p+3, 0x0p+0, 0x1.90fcd83853a2ep+7, 0x1.bc388ade1785dp+8, 0x1.9235265e40931p+0, -0x1.a4c508d3ae354p-5, 0x1.73a2bb066fabap-1, 0x1.2005f9523d276p-3, 0x1.d1b4ca8bf67ccp+2, 0x1.9p+6, 0x0p+0, 0x0p+0, -0x1.d78a32576aa14p-2, 0x1.63ed7959878e1p+6, },
     {0x1p+3, 0x0p+0, 0x1.9100ca11359efp+7, 0x1.bc1cab76770a4p+8, 0x1.9235265e40931p+0, 0x0p+0, 0x0p+0, 0x1.7e54d03085aep-3, -0x1.9f1cab405666ep+0, 0x1.9p+6, 0x0p+0, 0x0p+0, -0x1.fc9ccc319cf5p-3, 0x1.06fe295b57766p+4, },
     {8000, 0, 200000, 460000, 1571, 0, 0, 0, 0, 100000, 0, 0, 0, 0, },
     0x1.10ee72bb35f82p-3, 0x0p+0, 0x1p+0, 1, 6, 126},
    {{0x1p+3, 0x0p+0, 0x1.8ef8f9ee68c3ap+7, 0x1.dd2ca46dd757p+8, 0x1.90292f4428ff9p+0, 0x1.a074fe4407ddbp-4, 0x1.f366d952e6b4ep+1, -0x1.634dda21ee3b9p-3, 0x1.4p+3, 0x1.9p+6, 0x0p+0, 0x0p+0, -0x1.c44eebf378dbep-2, 0x1.09c61b6a7c18p+3, },
     {0x1p+3, 0x0p+0, 0x1.8ef15b72e0e75p+7, 0x1.dcbc04da40439p+8, 0x1.9178c6a370fa4p+0, 0x1.12eb82738f356p-4, 0x1.79c9676838ca2p+1, -0x1.08d7aaf13c76p-3, 0x1.4p+3, 0x1.9p+6, 0x0p+0, 0x0p+0, -0x1.ee0d636a5f8bp-3, 0x1.570b911fa706p+4, },
     {8000, 0, 200000, 460000, 1571, 0, 0, 0, 0, 100000, 0, 0, 0, 0, },
     0x1.7aceb4d824577p-1, 0x0p+0, 0x1p+0, 1, 9, 146},
    {{0x1p+3, 0x0p+0, 0x1.901b143c853d1p+7, 0x1.ccaddacb7fd09p+8, 0x1.913a0ef429d42p+0, 0x1.120f832fbf9adp-4, 0x1.584a91c9c2c4bp+1, -0x1.f44cf2feba538p-4, 0x1.4p+3, 0x1.9p+6, 0x0p+0, 0x0p+0, 0x1.5ace993e1f3cap-2, 0x1.fe4df904a552p+5, },
     {0x1p+3, 0x0p+0, 0x1.90160054c5aa7p+7, 0x1.cc5c391c6294bp+8, 0x1.91c3964b401d5p+0, 0x1.45b495c7db723p-4, 0x1.b7cc95f8c5084p+0, -0x1.3f82fe8bc9cf8p-3, 0x1.4p+3, 0x1.9p+6, 0x0p+0, 0x0p+0, 0x1.4823fade7b55p-3, 0x1.de75a57839eeap+3, },
     {8000, 0, 200000, 460000, 1571, 0, 0, 0, 0, 100000, 0, 0, 0, 0, },
     0x1.b26fe85f10d8fp-2, 0x0p+0, 0x1p+0, 1, 7, 147},
    {{0x1p+3, 0x0p+0, 0x1.90f8a4d02127dp+7, 0x1.bc712fcea6be1p+8, 0x1.9268048b5502bp+0, -0x1.c0b996c327a72p-5, 0x1.b6a22c45d9967p+0, 0x1.b5fdf2684644p-4, 0x1.4p+3, 0x1.9p+6, 0x0p+0, 0x0p+0, -0x1.59230096821adp-2, 0x1.47904b9b365d1p+6, },
     {0x1p+3, 0x0p+0, 0x1.90fcd83853a2ep+7, 0x1.bc388ade1785dp+8, 0x1.9235265e40931p+0, -0x1.a4c508d3ae354p-5, 0x1.73a2bb066fabap-1, 0x1.2005f9523d276p-3, 0x1.d1b4ca8bf67ccp+2, 0x1.9p+6, 0x0p+0, 0x0p+0, -0x1.835bf8c2ebf38p-3, 0x1.2dd478bc431e8p+2, },
     {8000, 0, 200000, 460000, 1571, 0, 0, 0, 0, 100000, 0, 0, 0, 0, },
     0x1.162c7cd9a7b11p-2, 0x0p+0, 0x1p+0, 1, 6, 152},
    {{0x1p+3, 0x0p+0, 0x1.8f01ae5805434p+7, 0x1.ddb097755c4aap+8, 0x1.8e5392b10f4fdp+0, 0x1.f8781020fd2a8p-4, 0x1.2ddd0f2047fb4p+2, -0x1.781343b1aee5dp-3, 0x1.19b2df0f8e00ep+3, 0x1.9p+6, 0x0p+0, 0x0p+0, -0x1.9f6c3f3b0d4d5p-4, -0x1.7f03496473f75p+3, },
     {0x1p+3, 0x0p+0, 0x1.8ef8f9ee68c3ap+7, 0x1.dd2ca46dd757p+8, 0x1.90292f4428ff9p+0, 0x1.a074fe4407ddbp-4, 0x1.f366d952e6b4ep+1, -0x1.634dda21ee3b9p-3, 0x1.4p+3, 0x1.9p+6, 0x0p+0, 0x0p+0, -0x1.650dcef76966p-4, 0x1.fd32c481306a8p+1, },
     {8000, 0, 200000, 460000, 1571, 0, 0, 0, 0, 100000, 0, 0, 0, 0, },
     0x1.0feaba80cb91p+0, 0x0p+0, 0x1p+0, 1, 9, 136},
    {{0x1p+3, 0x0p+0, 0x1.901ab3d07b6cfp+7, 0x1.cd180e134dd38p+8, 0x1.916ae4e3134f4p+0, -0x1.daa42c6526828p-10, 0x1.d3016907f7a4dp+1, 0x1.c5dd3ef84f338p-6, 0x1.4p+3, 0x1.9p+6, 0x0p+0, 0x0p+0, 0x1.7f9aa9b600d44p+0, 0x1.2b5d2e1f1db2p+4, },
     {0x1p+3, 0x0p+0, 0x1.901b143c853d1p+7, 0x1.ccaddacb7fd09p+8, 0x1.913a0ef429d42p+0, 0x1.120f832fbf9adp-4, 0x1.584a91c9c2c4bp+1, -0x1.f44cf2feba538p-4, 0x1.4p+3, 0x1.9p+6, 0x0p+0, 0x0p+0, 0x1.64b692d290f4p-1, 0x1.1abfada69289ap+4, },
     {8000, 0, 200000, 460000, 1571, 0, 0, 0, 0, 100000, 0, 0, 0, 0, },
     0x1.5df81b9ece94ap-1, 0x0p+0, 0x1p+0, 1, 7, 149},
};
// clang-format on
