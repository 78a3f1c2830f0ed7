// How a file's samples travel between libsndfile and the plug-in's floats. libsndfile scales
// integers to floats by 1/0x8000 but floats back by 0x7FFF, so a plain float round trip
// changes 16-bit audio; integer encodings therefore go through 32-bit integers, scaled by
// powers of two, which gives every sample of up to 24 bits back unchanged.
#pragma once

#include <sndfile.h>

#include <cmath>
#include <cstdint>

struct SampleCoding {
    bool integer = false;         ///< read and written as 32-bit integers
    int bits = 32;                ///< significant bits of an integer encoding
    double scale = 2147483648.0;  ///< full scale in steps of the encoding: 2^(bits - 1)
    double stepSize = 1.0;        ///< one step, left-justified in 32 bits: 2^(32 - bits)

    static SampleCoding make(bool integer, int bits) {
        return {integer, bits, std::ldexp(1.0, bits - 1), std::ldexp(1.0, 32 - bits)};
    }

    /// The coding of a libsndfile format (major type and subtype).
    static SampleCoding of(int format) {
        switch (format & SF_FORMAT_SUBMASK) {
            case SF_FORMAT_FLOAT:
            case SF_FORMAT_DOUBLE:
            case SF_FORMAT_VORBIS:
            case SF_FORMAT_OPUS:
            case SF_FORMAT_MPEG_LAYER_I:
            case SF_FORMAT_MPEG_LAYER_II:
            case SF_FORMAT_MPEG_LAYER_III:
                return make(false, 32);
            case SF_FORMAT_PCM_S8:
            case SF_FORMAT_PCM_U8:
            case SF_FORMAT_DPCM_8:
                return make(true, 8);
            case SF_FORMAT_DWVW_12:
                return make(true, 12);
            case SF_FORMAT_ALAC_20:
                return make(true, 20);
            case SF_FORMAT_PCM_24:
            case SF_FORMAT_DWVW_24:
            case SF_FORMAT_ALAC_24:
                return make(true, 24);
            case SF_FORMAT_PCM_32:
            case SF_FORMAT_ALAC_32:
                return make(true, 32);
            default:
                return make(true, 16);
        }
    }

    /// A left-justified 32-bit sample as a float of full scale 1.
    static float toFloat(std::int32_t sample) {
        return static_cast<float>(sample) * (1.0f / 2147483648.0f);
    }

    /// A float of full scale 1 rounded to `bits` bits, clamped, and left-justified.
    std::int32_t fromFloat(float value) const {
        double step = std::nearbyint(static_cast<double>(value) * scale);
        if (std::isnan(step)) {
            step = 0.0;
        }
        step = step < -scale ? -scale : (step > scale - 1.0 ? scale - 1.0 : step);
        return static_cast<std::int32_t>(step * stepSize);
    }
};
