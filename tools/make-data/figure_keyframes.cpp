// figure_keyframes.cpp: in-betweening and the small solver that puts the racket on the ball.
#include "figure_keyframes.h"

#include <algorithm>
#include <cmath>

namespace {

float& component(V3& v, int axis) {
    return axis == 0 ? v.x : axis == 1 ? v.y : v.z;
}

float& channelValue(KeyPosture& p, const Channel& c) {
    return c.bone < 0 ? component(p.pelvisShift, c.axis) : component(p.angles[c.bone], c.axis);
}

float valueOf(KeyPosture p, const Channel& c) {
    return channelValue(p, c);
}

float catmullRom(float p0, float p1, float p2, float p3, float t) {
    const float t2 = t * t, t3 = t2 * t;
    return 0.5f * (2.0f * p1 + (p2 - p0) * t + (2.0f * p0 - 5.0f * p1 + 4.0f * p2 - p3) * t2 +
                   (3.0f * p1 - p0 - 3.0f * p2 + p3) * t3);
}

V3 catmullRom(V3 a, V3 b, V3 c, V3 d, float t) {
    return {catmullRom(a.x, b.x, c.x, d.x, t), catmullRom(a.y, b.y, c.y, d.y, t),
            catmullRom(a.z, b.z, c.z, d.z, t)};
}

KeyPosture catmullRom(const KeyPosture& a, const KeyPosture& b, const KeyPosture& c,
                      const KeyPosture& d, float t) {
    KeyPosture out;
    for (int i = 0; i < kFigureBoneCount; ++i)
        out.angles[i] = catmullRom(a.angles[i], b.angles[i], c.angles[i], d.angles[i], t);
    out.pelvisShift = catmullRom(a.pelvisShift, b.pelvisShift, c.pelvisShift, d.pelvisShift, t);
    return out;
}

// Solves the small symmetric system A x = b in place (Gaussian elimination, partial pivoting).
std::vector<float> solve(std::vector<std::vector<float>> a, std::vector<float> b) {
    const size_t n = b.size();
    for (size_t col = 0; col < n; ++col) {
        size_t pivot = col;
        for (size_t r = col + 1; r < n; ++r)
            if (std::fabs(a[r][col]) > std::fabs(a[pivot][col]))
                pivot = r;
        std::swap(a[col], a[pivot]);
        std::swap(b[col], b[pivot]);
        for (size_t r = col + 1; r < n; ++r) {
            const float f = a[r][col] / a[col][col];
            for (size_t k = col; k < n; ++k)
                a[r][k] -= f * a[col][k];
            b[r] -= f * b[col];
        }
    }
    std::vector<float> x(n);
    for (size_t i = n; i-- > 0;) {
        float s = b[i];
        for (size_t k = i + 1; k < n; ++k)
            s -= a[i][k] * x[k];
        x[i] = s / a[i][i];
    }
    return x;
}

} // namespace

FigurePose toPose(const KeyPosture& posture) {
    FigurePose pose;
    for (int i = 0; i < kFigureBoneCount; ++i)
        pose.rotation[i] = eulerDegrees(posture.angles[i]);
    pose.shift[BonePelvis] = posture.pelvisShift;
    return pose;
}

void groundFeet(KeyPosture& posture) {
    const auto bones = boneTransforms(toPose(posture));
    const float right = bones[BoneFootR].translation.y, left = bones[BoneFootL].translation.y;
    posture.pelvisShift.y += kFigureBones[BoneFootR].joint.y - std::min(right, left);
}

void liftOffCourt(KeyPosture& posture, const FigureModel& figure) {
    const auto bones = boneTransforms(toPose(posture));
    float low = 0.0f;
    for (int mesh : {MeshBody, MeshRacket})
        for (const V3& v : posedVertices(figure.meshes[mesh], bones))
            low = std::min(low, v.y);
    posture.pelvisShift.y -= low;
}

std::vector<KeyPosture> inBetweens(const std::vector<Keyframe>& keys, int frameCount, bool loops) {
    std::vector<KeyPosture> frames(frameCount);
    const int n = static_cast<int>(keys.size());
    // Key i of the (possibly wrapped) sequence, with its frame number.
    const auto key = [&](int i, int& frame) -> const KeyPosture& {
        if (loops) {
            const int wraps = (i >= 0 ? i / n : (i - n + 1) / n);
            const int k = i - wraps * n;
            frame = keys[k].frame + wraps * frameCount;
            return keys[k].posture;
        }
        const int k = std::clamp(i, 0, n - 1);
        frame = keys[k].frame;
        return keys[k].posture;
    };
    for (int f = 0; f < frameCount; ++f) {
        int i = 0;
        while (i + 1 < n && keys[i + 1].frame <= f)
            ++i;
        int f1, f2, unused;
        const KeyPosture& p1 = key(i, f1);
        const KeyPosture& p2 = key(i + 1, f2);
        if (!loops && i == n - 1) {
            frames[f] = p1;
            continue;
        }
        const float t = f2 > f1 ? static_cast<float>(f - f1) / static_cast<float>(f2 - f1) : 0.0f;
        frames[f] = catmullRom(key(i - 1, unused), p1, p2, key(i + 2, unused), t);
    }
    return frames;
}

float reachWithRacket(KeyPosture& posture, V3 target, const std::vector<Channel>& channels) {
    const size_t n = channels.size();
    const KeyPosture authored = posture;
    // Degrees and centimetres weigh alike; the pull toward the authored posture keeps the
    // movement natural, the damping keeps each step small.
    const float stay = 0.02f;
    float lambda = 1.0f;
    const auto error = [&](const KeyPosture& p) { return target - racketHead(toPose(p)); };
    const auto cost = [&](const KeyPosture& p) {
        const V3 e = error(p);
        float c = dot(e, e);
        for (const auto& ch : channels) {
            const float d = valueOf(p, ch) - valueOf(authored, ch);
            c += stay * d * d;
        }
        return c;
    };
    for (int iteration = 0; iteration < 200; ++iteration) {
        const V3 e = error(posture);
        std::vector<V3> jacobian(n);
        for (size_t j = 0; j < n; ++j) {
            KeyPosture moved = posture;
            channelValue(moved, channels[j]) += 0.25f;
            jacobian[j] = (racketHead(toPose(moved)) - racketHead(toPose(posture))) * 4.0f;
        }
        std::vector<std::vector<float>> a(n, std::vector<float>(n));
        std::vector<float> b(n);
        for (size_t r = 0; r < n; ++r) {
            const float drift = valueOf(posture, channels[r]) - valueOf(authored, channels[r]);
            for (size_t c = 0; c < n; ++c)
                a[r][c] = dot(jacobian[r], jacobian[c]) + (r == c ? stay + lambda : 0.0f);
            b[r] = dot(jacobian[r], e) - stay * drift;
        }
        const std::vector<float> step = solve(a, b);
        KeyPosture tried = posture;
        for (size_t j = 0; j < n; ++j)
            channelValue(tried, channels[j]) += step[j];
        if (cost(tried) < cost(posture)) {
            posture = tried;
            lambda = std::max(lambda * 0.5f, 1e-4f);
        } else {
            lambda *= 4.0f;
        }
    }
    return length(error(posture));
}
