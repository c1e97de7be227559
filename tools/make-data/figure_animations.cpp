// figure_animations.cpp: the key postures of every movement. Angles are degrees about the
// parent's axes; the figure faces +z with the racket in its +x hand. For bones that hang down
// (limbs) a negative x angle swings them forward; for the spine and head a positive x angle
// leans forward. A positive y angle turns the front toward +x.
#include "figure_animations.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "figure_keyframes.h"
#include "match/ball.h"
#include "match/stroke_table.h"

namespace {

// A length (or an acceleration) of the match, in metres, in the model's centimetres.
float centimetres(Fixed metres) {
    return static_cast<float>(metres) / 655.36f;
}

constexpr int kRight = 1, kLeft = -1;

int upperArm(int side) {
    return side > 0 ? BoneUpperArmR : BoneUpperArmL;
}
int foreArm(int side) {
    return side > 0 ? BoneForeArmR : BoneForeArmL;
}
int thigh(int side) {
    return side > 0 ? BoneThighR : BoneThighL;
}
int shin(int side) {
    return side > 0 ? BoneShinR : BoneShinL;
}
int foot(int side) {
    return side > 0 ? BoneFootR : BoneFootL;
}

// lift: thigh forward; knee: shin bent back; spread: thigh out to its own side. The foot is
// kept level with the ground.
void leg(KeyPosture& p, int side, float lift, float knee, float spread = 0.0f) {
    p.angles[thigh(side)] = {-lift, 0.0f, spread * static_cast<float>(side)};
    p.angles[shin(side)] = {knee, 0.0f, 0.0f};
    p.angles[foot(side)] = {lift - knee, 0.0f, -spread * static_cast<float>(side)};
}

// forward: arm raised in front; out: raised to its own side; twist: turned about the vertical
// toward +x; elbow: forearm bent up.
void arm(KeyPosture& p, int side, float forward, float out, float twist, float elbow) {
    p.angles[upperArm(side)] = {-forward, twist, out * static_cast<float>(side)};
    p.angles[foreArm(side)] = {-elbow, 0.0f, 0.0f};
}

void trunk(KeyPosture& p, float lean, float turn, float tilt = 0.0f) {
    p.angles[BoneSpine] = {lean, turn, tilt};
}

void head(KeyPosture& p, float nod, float turn = 0.0f) {
    p.angles[BoneHead] = {nod, turn, 0.0f};
}

// tilt: the racket's head forward of the forearm's line; roll: its face turned.
void racket(KeyPosture& p, float tilt, float roll = 0.0f, float sweep = 0.0f) {
    p.angles[BoneRacket] = {-tilt, roll, sweep};
}

KeyPosture grounded(KeyPosture p) {
    groundFeet(p);
    return p;
}

// Standing at ease between points, racket hanging in front.
KeyPosture relaxed() {
    KeyPosture p;
    leg(p, kRight, 4, 6, 4);
    leg(p, kLeft, 4, 6, 4);
    trunk(p, 2, 0);
    arm(p, kRight, 10, 8, 0, 35);
    arm(p, kLeft, 5, 6, 0, 15);
    racket(p, 35, 0);
    return grounded(p);
}

// Knees bent and weight forward, racket held in front with both hands.
KeyPosture ready() {
    KeyPosture p;
    leg(p, kRight, 30, 50, 10);
    leg(p, kLeft, 30, 50, 10);
    trunk(p, 18, 0);
    head(p, -14);
    arm(p, kRight, 25, 12, -15, 70);
    arm(p, kLeft, 30, 12, 25, 80);
    racket(p, 75, 0, 20);
    return grounded(p);
}

std::vector<Channel> racketArmChannels() {
    return {{BoneSpine, 1},    {BoneUpperArmR, 0}, {BoneUpperArmR, 1}, {BoneUpperArmR, 2},
            {BoneForeArmR, 0}, {BoneRacket, 0},    {BoneRacket, 2}};
}

// Both serves play the one serve animation, so it must meet the ball inside both their boxes.
ReachBox contactBox(int stroke) {
    ReachBox box = modelReachBox(stroke);
    if (stroke == StrokeFirstServe) {
        const ReachBox second = modelReachBox(StrokeSecondServe);
        box.low = {std::max(box.low.x, second.low.x), std::max(box.low.y, second.low.y),
                   std::max(box.low.z, second.low.z)};
        box.high = {std::min(box.high.x, second.high.x), std::min(box.high.y, second.high.y),
                    std::min(box.high.z, second.high.z)};
    }
    return box;
}

// The key at the contact frame, its racket head moved onto the middle of the reach box.
KeyPosture meetBall(KeyPosture p, int stroke, std::vector<Channel> channels) {
    const ReachBox box = contactBox(stroke);
    const V3 target = (box.low + box.high) * 0.5f;
    const float left = reachWithRacket(p, target, channels);
    if (left > 2.0f)
        throw std::logic_error("the racket cannot reach the ball of stroke " +
                               std::to_string(stroke));
    return p;
}

std::vector<FigurePose> toFrames(const std::vector<Keyframe>& keys, int count, bool loops) {
    static const FigureModel figure = buildFigureModel();
    std::vector<FigurePose> frames;
    for (KeyPosture posture : inBetweens(keys, count, loops)) {
        liftOffCourt(posture, figure);
        frames.push_back(toPose(posture));
    }
    return frames;
}

// Puts the ball bone where the ball is wanted, whatever the hand holding it does.
void placeBall(FigurePose& pose, V3 where) {
    pose.shift[BoneBall] = {};
    const auto bones = boneTransforms(pose);
    const Rigid& holder = bones[BoneHandL];
    const V3 rest = kFigureBones[BoneBall].joint - kFigureBones[BoneHandL].joint;
    pose.shift[BoneBall] = rotate(conjugate(holder.rotation), where - holder.translation) - rest;
}

V3 ballInHand(const FigurePose& pose) {
    return posedPoint(boneTransforms(pose), BoneBall, kFigureBones[BoneBall].joint);
}

// --- the movements --------------------------------------------------------------------------

FigureClip rest() {
    KeyPosture a = relaxed();
    KeyPosture b = a;
    trunk(b, 4, 3);
    head(b, 3, 6);
    arm(b, kLeft, 7, 8, 0, 18);
    b = grounded(b);
    return {true, toFrames({{0, a}, {20, b}}, 40, true), {}};
}

KeyPosture serveStance() {
    KeyPosture p;
    p.angles[BonePelvis] = {0, 35, 0};
    leg(p, kRight, 6, 12, 12);
    leg(p, kLeft, 10, 14, 6);
    trunk(p, 10, 5);
    head(p, -8, -30);
    arm(p, kRight, 20, 10, -10, 60);
    arm(p, kLeft, 35, 5, 30, 55);
    racket(p, 60, 0, 25);
    return grounded(p);
}

// Bouncing the ball before serving.
FigureClip waitToServe() {
    KeyPosture hold = serveStance();
    KeyPosture push = hold;
    arm(push, kLeft, 30, 5, 30, 25);
    trunk(push, 18, 5);
    push = grounded(push);
    const int count = 40;
    FigureClip clip{
        true, toFrames({{0, hold}, {8, push}, {16, hold}}, count, true), {{0, BoneBall, 1}}};
    // Dropped at frame 6, on the court at 11, caught again at 16.
    const V3 top = ballInHand(clip.frames[6]);
    const V3 caught = ballInHand(clip.frames[16]);
    for (int f = 6; f <= 16; ++f) {
        const float t = static_cast<float>(f - 6) / 10.0f;
        V3 where = lerp(top, caught, t);
        // Falling faster and faster, then rising slower and slower.
        where.y = t < 0.5f ? top.y - (top.y - kBallRadius) * (2 * t) * (2 * t)
                           : caught.y - (caught.y - kBallRadius) * (2 - 2 * t) * (2 - 2 * t);
        placeBall(clip.frames[f], where);
    }
    return clip;
}

FigureClip serve() {
    const int contact = strokeContact(StrokeFirstServe), count = strokeLength(StrokeFirstServe);
    KeyPosture start = serveStance();
    KeyPosture drop = start;
    arm(drop, kLeft, 10, 8, 20, 5);
    arm(drop, kRight, -20, 20, 0, 20);
    racket(drop, 20, 0, 10);
    leg(drop, kLeft, 12, 20, 6);
    drop = grounded(drop);
    KeyPosture trophy = start;
    trophy.angles[BonePelvis] = {0, 45, 0};
    leg(trophy, kRight, 25, 55, 12);
    leg(trophy, kLeft, 30, 55, 6);
    trunk(trophy, -12, 20, 14);
    head(trophy, -35, -20);
    arm(trophy, kLeft, 165, 5, 0, 0);
    arm(trophy, kRight, 20, 95, -20, 100);
    racket(trophy, -20, 0, 0);
    trophy = grounded(trophy);
    KeyPosture loop = trophy;
    arm(loop, kRight, 40, 120, -30, 140);
    racket(loop, -60, 0, 0);
    trunk(loop, -18, 25, 15);
    loop = grounded(loop);
    KeyPosture hit = loop;
    hit.angles[BonePelvis] = {0, 20, 0};
    leg(hit, kRight, -10, 20, 8);
    leg(hit, kLeft, 0, 10, 4);
    hit.angles[BoneFootR] = {40, 0, 0};
    hit.angles[BoneFootL] = {40, 0, 0};
    trunk(hit, 0, 0, -8);
    head(hit, -40);
    arm(hit, kLeft, 110, 0, 20, 60);
    arm(hit, kRight, 178, 8, 0, 2);
    racket(hit, 0, 0, 0);
    hit.pelvisShift = {0, 38, 0};
    hit = meetBall(hit, 1,
                   {{-1, 1},
                    {BoneSpine, 2},
                    {BoneSpine, 0},
                    {BoneUpperArmR, 0},
                    {BoneUpperArmR, 2},
                    {BoneForeArmR, 0},
                    {BoneRacket, 0},
                    {BoneRacket, 2}});
    KeyPosture follow = start;
    follow.angles[BonePelvis] = {0, -10, 0};
    leg(follow, kLeft, 30, 40, 6);
    leg(follow, kRight, -30, 50, 6);
    trunk(follow, 35, -35);
    head(follow, -20);
    arm(follow, kRight, 20, 0, -60, 20);
    arm(follow, kLeft, 40, 0, 40, 90);
    racket(follow, 30, 0, 0);
    follow = grounded(follow);
    FigureClip clip{false,
                    toFrames({{0, start},
                              {5, drop},
                              {11, trophy},
                              {17, loop},
                              {contact, hit},
                              {27, follow},
                              {count - 1, ready()}},
                             count, false),
                    {{0, BoneBall, 1}, {contact, BoneBall, 0}},
                    StrokeFirstServe,
                    contact};
    // The toss: from the hand at frame 9, rising and slowing to hang where the racket meets it.
    const int release = 9;
    const V3 from = ballInHand(clip.frames[release]);
    const ReachBox box = contactBox(StrokeFirstServe);
    V3 to = (box.low + box.high) * 0.5f;
    to.y += 4.0f;
    const float seconds = static_cast<float>(contact - release) / kFramesPerSecond;
    const float gravity = centimetres(kGravity); // the match's ball falls the same way
    const float rise = (to.y - from.y + 0.5f * gravity * seconds * seconds) / seconds;
    for (int f = release; f < count; ++f) {
        const float t = static_cast<float>(f - release) / kFramesPerSecond;
        const float u = std::min(t / seconds, 1.0f);
        V3 where = lerp(from, to, u);
        where.y = from.y + rise * t - 0.5f * gravity * t * t;
        placeBall(clip.frames[f], where);
    }
    return clip;
}

// Knees bent, bouncing lightly from foot to foot, watching the server.
FigureClip waitForServe() {
    KeyPosture a = ready();
    KeyPosture b = a;
    leg(b, kRight, 36, 62, 12);
    leg(b, kLeft, 26, 44, 8);
    trunk(b, 20, 4, -3);
    b = grounded(b);
    KeyPosture c = a;
    leg(c, kRight, 26, 44, 8);
    leg(c, kLeft, 36, 62, 12);
    trunk(c, 20, -4, 3);
    c = grounded(c);
    return {true, toFrames({{0, a}, {8, b}, {16, a}, {24, c}}, 32, true), {{0, BoneBall, 0}}};
}

// One stride each side in sixteen frames; `stride` > 0 runs forward, < 0 backward.
KeyPosture runStep(float stride, int leading, float lean, float bob) {
    KeyPosture p;
    const float s = stride;
    leg(p, leading, 40 * s, 20 + 10 * std::fabs(s));
    leg(p, -leading, -25 * s, 45 + 30 * std::fabs(s));
    trunk(p, lean, 8.0f * static_cast<float>(leading) * s);
    head(p, -lean * 0.8f);
    arm(p, kRight, (leading > 0 ? -30 : 40) * s, 10, -10, 80);
    arm(p, kLeft, (leading > 0 ? 40 : -30) * s, 10, 10, 85);
    racket(p, 60, 0, 20);
    p = grounded(p);
    p.pelvisShift.y += bob;
    return p;
}

KeyPosture runPass(float stride, int lifted, float lean) {
    KeyPosture p;
    leg(p, lifted, 20 * stride, 90);
    leg(p, -lifted, 5 * stride, 20);
    trunk(p, lean, 0);
    head(p, -lean * 0.8f);
    arm(p, kRight, 5, 10, -10, 80);
    arm(p, kLeft, 5, 10, 10, 85);
    racket(p, 60, 0, 20);
    p = grounded(p);
    p.pelvisShift.y += 5;
    return p;
}

FigureClip run(float stride, float lean) {
    const std::vector<Keyframe> keys = {
        {0, runStep(stride, kRight, lean, 0)},
        {4, runPass(stride, kLeft, lean)},
        {8, runStep(stride, kLeft, lean, 0)},
        {12, runPass(stride, kRight, lean)},
    };
    return {true, toFrames(keys, 16, true), {}};
}

// Side steps: the leading leg reaches out, the other closes in, body leaning the way it goes.
KeyPosture shuffle(int toward, float wide, float lean) {
    KeyPosture p = ready();
    leg(p, toward, 25, 40, 10 + 22 * wide);
    leg(p, -toward, 25, 40 + 25 * (1 - wide), 10 + 10 * wide);
    trunk(p, 15, 0, -lean * static_cast<float>(toward));
    head(p, -12, 0);
    p = grounded(p);
    p.pelvisShift.x += static_cast<float>(toward) * 6 * (wide - 0.5f);
    p.pelvisShift.y += 4 * (1 - wide);
    return p;
}

FigureClip runSideways(int toward) {
    const std::vector<Keyframe> keys = {
        {0, shuffle(toward, 1.0f, 8)},
        {4, shuffle(toward, 0.0f, 10)},
        {8, shuffle(toward, 1.0f, 8)},
        {12, shuffle(toward, 0.0f, 10)},
    };
    return {true, toFrames(keys, 16, true), {}};
}

// A ground stroke, volley or lob: prepare, meet the ball at `contact`, follow through, recover.
struct StrokeKeys {
    KeyPosture back, hit, through;
};

FigureClip stroke(int id, StrokeKeys k, std::vector<Channel> channels) {
    const int count = strokeLength(id), contact = strokeContact(id);
    const KeyPosture hit = meetBall(k.hit, id, channels);
    const int backAt = std::max(contact / 2, contact - 5);
    const int throughAt = std::min(contact + 7, count - 6);
    const std::vector<Keyframe> keys = {{0, ready()},
                                        {backAt, k.back},
                                        {contact, hit},
                                        {throughAt, k.through},
                                        {count - 1, ready()}};
    return {false, toFrames(keys, count, false), {}, id, contact};
}

FigureClip forehand() {
    StrokeKeys k;
    k.back = ready();
    k.back.angles[BonePelvis] = {0, 30, 0};
    trunk(k.back, 15, 50);
    arm(k.back, kRight, 10, 60, 40, 40);
    arm(k.back, kLeft, 60, 10, 50, 20);
    racket(k.back, 50, 0, 10);
    leg(k.back, kRight, 30, 55, 15);
    k.back = grounded(k.back);
    k.hit = ready();
    trunk(k.hit, 15, 0, -10);
    arm(k.hit, kRight, 40, 70, -20, 10);
    arm(k.hit, kLeft, 40, 20, 40, 40);
    racket(k.hit, 70, 0, 0);
    leg(k.hit, kRight, 40, 60, 25);
    leg(k.hit, kLeft, 20, 30, 5);
    k.hit = grounded(k.hit);
    k.hit.pelvisShift.x += 25;
    k.through = ready();
    k.through.angles[BonePelvis] = {0, -25, 0};
    trunk(k.through, 10, -50);
    arm(k.through, kRight, 120, 20, -70, 90);
    arm(k.through, kLeft, 30, 10, -20, 60);
    racket(k.through, 40, 0, 0);
    k.through = grounded(k.through);
    auto channels = racketArmChannels();
    channels.push_back({-1, 0});
    return stroke(StrokeForehand, k, channels);
}

FigureClip backhand() {
    StrokeKeys k;
    k.back = ready();
    k.back.angles[BonePelvis] = {0, -35, 0};
    trunk(k.back, 15, -55);
    arm(k.back, kRight, 50, -10, -60, 70);
    arm(k.back, kLeft, 50, 10, 30, 70);
    racket(k.back, 60, 0, -20);
    leg(k.back, kLeft, 30, 55, 15);
    k.back = grounded(k.back);
    k.hit = ready();
    k.hit.angles[BonePelvis] = {0, -20, 0};
    trunk(k.hit, 15, -50, 10);
    arm(k.hit, kRight, 80, -20, -70, 10);
    arm(k.hit, kLeft, 50, 20, -10, 30);
    racket(k.hit, 70, 0, 0);
    leg(k.hit, kLeft, 40, 60, 25);
    leg(k.hit, kRight, 20, 30, 5);
    k.hit = grounded(k.hit);
    k.hit.pelvisShift.x -= 25;
    k.through = ready();
    k.through.angles[BonePelvis] = {0, 15, 0};
    trunk(k.through, 10, 30);
    arm(k.through, kRight, 140, 60, 20, 30);
    arm(k.through, kLeft, 30, 10, 40, 50);
    racket(k.through, 40, 0, 0);
    k.through = grounded(k.through);
    auto channels = racketArmChannels();
    channels.push_back({-1, 0});
    return stroke(StrokeBackhand, k, channels);
}

FigureClip volley(int id, int side) {
    StrokeKeys k;
    k.back = ready();
    trunk(k.back, 15, 25.0f * side);
    arm(k.back, kRight, side > 0 ? 30 : 70, side > 0 ? 50 : -10, side > 0 ? 20 : -50, 90);
    racket(k.back, 100, 0, 0);
    k.back = grounded(k.back);
    k.hit = ready();
    trunk(k.hit, 18, side > 0 ? 0 : -40, -10.0f * side);
    arm(k.hit, kRight, side > 0 ? 50 : 80, side > 0 ? 60 : -20, side > 0 ? -10 : -60, 20);
    arm(k.hit, kLeft, 40, 30, side > 0 ? 30 : -20, 40);
    racket(k.hit, 90, 0, 0);
    leg(k.hit, side, 45, 70, 30);
    leg(k.hit, -side, 15, 30, 5);
    k.hit = grounded(k.hit);
    k.hit.pelvisShift.x += 30.0f * side;
    k.through = ready();
    trunk(k.through, 15, -10.0f * side);
    arm(k.through, kRight, 60, side > 0 ? 20 : 0, -20, 60);
    racket(k.through, 90, 0, 0);
    k.through = grounded(k.through);
    auto channels = racketArmChannels();
    channels.push_back({-1, 0});
    return stroke(id, k, channels);
}

FigureClip lob(int id, int side) {
    StrokeKeys k;
    k.back = ready();
    trunk(k.back, 20, 45.0f * side);
    arm(k.back, kRight, side > 0 ? 0 : 40, side > 0 ? 40 : -10, side > 0 ? 40 : -60, 30);
    racket(k.back, 20, 0, 0);
    leg(k.back, kRight, 45, 80, 15);
    leg(k.back, kLeft, 45, 80, 15);
    k.back = grounded(k.back);
    k.hit = ready();
    trunk(k.hit, 25, side > 0 ? 10 : -45, -15.0f * side);
    arm(k.hit, kRight, side > 0 ? 20 : 50, side > 0 ? 50 : -20, side > 0 ? -10 : -50, 5);
    arm(k.hit, kLeft, 40, 20, 30, 40);
    racket(k.hit, 50, 0, 0);
    leg(k.hit, side, 60, 100, 30);
    leg(k.hit, -side, 40, 80, 10);
    k.hit = grounded(k.hit);
    k.hit.pelvisShift.x += 25.0f * side;
    k.through = ready();
    trunk(k.through, -5, -20.0f * side);
    arm(k.through, kRight, 160, 10, 0, 20);
    racket(k.through, 0, 0, 0);
    k.through = grounded(k.through);
    auto channels = racketArmChannels();
    channels.push_back({-1, 0});
    return stroke(id, k, channels);
}

FigureClip smash(int id, int side) {
    const int contact = strokeContact(id), count = strokeLength(id);
    KeyPosture cock = ready();
    cock.angles[BonePelvis] = {0, 40, 0};
    leg(cock, kRight, 35, 65, 12);
    leg(cock, kLeft, 35, 65, 8);
    trunk(cock, -10, 25, 10);
    head(cock, -40);
    arm(cock, kLeft, 150, 5, 0, 10);
    arm(cock, kRight, 30, 110, -30, 140);
    racket(cock, -60, 0, 0);
    cock = grounded(cock);
    KeyPosture hit = cock;
    hit.angles[BonePelvis] = {0, 10, 0};
    leg(hit, kRight, 40, 90, 8);
    leg(hit, kLeft, -10, 20, 4);
    trunk(hit, 0, 0, side > 0 ? -5.0f : 20.0f);
    head(hit, -40);
    arm(hit, kLeft, 90, 0, 20, 70);
    arm(hit, kRight, 175, side > 0 ? 10 : -25, 0, 2);
    racket(hit, 0, 0, 0);
    hit.pelvisShift = {0, 40, 0};
    hit = meetBall(hit, id,
                   {{-1, 1},
                    {BoneSpine, 2},
                    {BoneSpine, 0},
                    {BoneUpperArmR, 0},
                    {BoneUpperArmR, 2},
                    {BoneForeArmR, 0},
                    {BoneRacket, 0},
                    {BoneRacket, 2}});
    KeyPosture follow = ready();
    follow.angles[BonePelvis] = {0, -15, 0};
    trunk(follow, 35, -30);
    arm(follow, kRight, 20, 0, -60, 20);
    arm(follow, kLeft, 40, 10, 30, 80);
    racket(follow, 30, 0, 0);
    follow = grounded(follow);
    const std::vector<Keyframe> keys = {
        {0, ready()}, {5, cock}, {contact, hit}, {18, follow}, {count - 1, ready()}};
    return {false, toFrames(keys, count, false), {}, id, contact};
}

// Diving sideways at the ball, landing on the court and getting up again.
FigureClip jump(int id, int side) {
    const int contact = strokeContact(id), count = strokeLength(id);
    const float s = static_cast<float>(side);
    KeyPosture push = ready();
    leg(push, side, 50, 90, 30);
    leg(push, -side, 40, 80, 10);
    trunk(push, 25, 0, -15 * s);
    push = grounded(push);
    push.pelvisShift.x += 15 * s;
    KeyPosture dive;
    dive.angles[BonePelvis] = {0, 0, -70 * s};
    leg(dive, side, 10, 20, 10);
    leg(dive, -side, -10, 40, 25);
    trunk(dive, 0, 0, -10 * s);
    head(dive, -10);
    dive.angles[BoneHead].z = 40 * s;
    arm(dive, kRight, 40, side > 0 ? 100 : -40, side > 0 ? 0 : -70, 5);
    arm(dive, kLeft, 20, side > 0 ? 60 : 150, 0, 20);
    racket(dive, 40, 0, 0);
    dive.pelvisShift = {95 * s, -20, 0};
    dive = meetBall(dive, id,
                    {{-1, 0},
                     {-1, 1},
                     {BonePelvis, 2},
                     {BoneSpine, 1},
                     {BoneUpperArmR, 0},
                     {BoneUpperArmR, 1},
                     {BoneUpperArmR, 2},
                     {BoneForeArmR, 0},
                     {BoneRacket, 0}});
    KeyPosture down = dive;
    down.angles[BonePelvis] = {0, 0, -85 * s};
    leg(down, side, 10, 30, 5);
    leg(down, -side, 0, 30, 10);
    trunk(down, 0, 0, -5 * s);
    // Lying on the side it dived to, both arms stretched out ahead along the court.
    arm(down, kRight, 170, 0, 0, 10);
    arm(down, kLeft, 150, 0, 0, 20);
    down.pelvisShift = {110 * s, -80, 0};
    KeyPosture lying = down;
    head(lying, 10);
    lying.angles[BoneHead].z = 20 * s;
    // Up on both knees, shins flat on the court.
    KeyPosture kneel;
    leg(kneel, kRight, 0, 90, 8);
    leg(kneel, kLeft, 0, 90, 8);
    trunk(kneel, 20, 0);
    head(kneel, -10);
    arm(kneel, kRight, 30, 15, 0, 40);
    arm(kneel, kLeft, 30, 15, 0, 40);
    racket(kneel, 60, 0, 0);
    kneel.pelvisShift = {70 * s, -(kFigureBones[BoneShinR].joint.y - 6.0f), 0};
    KeyPosture rise = ready();
    rise.pelvisShift.x += 40 * s;
    const int rest = count - 1;
    const std::vector<Keyframe> keys = {{0, push},
                                        {contact, dive},
                                        {12, down},
                                        {contact + (rest - contact) / 3, lying},
                                        {contact + (rest - contact) * 3 / 5, kneel},
                                        {contact + (rest - contact) * 4 / 5, rise},
                                        {rest, ready()}};
    return {false, toFrames(keys, count, false), {}, id, contact};
}

FigureClip win() {
    KeyPosture crouch = ready();
    leg(crouch, kRight, 45, 80, 12);
    leg(crouch, kLeft, 45, 80, 12);
    crouch = grounded(crouch);
    KeyPosture up = relaxed();
    arm(up, kRight, 170, 20, 0, 10);
    arm(up, kLeft, 170, 20, 0, 10);
    racket(up, 0, 0, 0);
    head(up, -25);
    leg(up, kRight, 10, 30, 8);
    leg(up, kLeft, 10, 30, 8);
    up.angles[BoneFootR] = {30, 0, 0};
    up.angles[BoneFootL] = {30, 0, 0};
    up = grounded(up);
    up.pelvisShift.y += 30;
    KeyPosture land = up;
    leg(land, kRight, 25, 45, 10);
    leg(land, kLeft, 25, 45, 10);
    land = grounded(land);
    KeyPosture pump = relaxed();
    arm(pump, kRight, 160, 30, 0, 20);
    arm(pump, kLeft, 60, 40, 10, 140);
    racket(pump, 0, 0, 0);
    head(pump, -20);
    trunk(pump, -5, 0);
    pump = grounded(pump);
    KeyPosture pump2 = pump;
    arm(pump2, kLeft, 40, 30, 10, 150);
    trunk(pump2, 10, 0);
    pump2 = grounded(pump2);
    const std::vector<Keyframe> keys = {{0, relaxed()}, {6, crouch}, {13, up},   {20, land},
                                        {30, pump},     {38, pump2}, {46, pump}, {59, pump}};
    return {false, toFrames(keys, 60, false), {}};
}

FigureClip lose() {
    KeyPosture droop = relaxed();
    head(droop, 40);
    trunk(droop, 15, 0);
    arm(droop, kRight, 0, 5, 0, 5);
    arm(droop, kLeft, 0, 5, 0, 5);
    racket(droop, 5, 0, 0);
    droop = grounded(droop);
    KeyPosture bend = droop;
    trunk(bend, 50, 0);
    head(bend, 20);
    leg(bend, kRight, 40, 40, 10);
    leg(bend, kLeft, 40, 40, 10);
    arm(bend, kRight, 40, 10, 0, 10);
    arm(bend, kLeft, 40, 10, 0, 10);
    racket(bend, 10, 0, 0);
    bend = grounded(bend);
    const std::vector<Keyframe> keys = {
        {0, relaxed()}, {12, droop}, {30, droop}, {45, bend}, {59, bend}};
    return {false, toFrames(keys, 60, false), {}};
}

} // namespace

static int framesIn(Fixed seconds) {
    return static_cast<int>(
        std::floor(static_cast<double>(seconds) * kFramesPerSecond / 65536.0 + 0.5));
}

int strokeLength(int stroke) {
    return framesIn(strokeRow(stroke).swingTime);
}

int strokeContact(int stroke) {
    return framesIn(strokeRow(stroke).contactTime);
}

ReachBox modelReachBox(int stroke) {
    const StrokeRow& row = strokeRow(stroke);
    // The game draws the figure with x mirrored, so the model's x is the row's x; the model
    // faces +z where the row's player faces -z, so z changes sign.
    return {
        {centimetres(row.reachMin.x), centimetres(row.reachMin.y), -centimetres(row.reachMax.z)},
        {centimetres(row.reachMax.x), centimetres(row.reachMax.y), -centimetres(row.reachMin.z)}};
}

std::vector<FigureClip> buildFigureClips() {
    std::vector<FigureClip> clips;
    clips.push_back(rest());
    clips.push_back(waitToServe());
    clips.push_back(serve());
    clips.push_back(waitForServe());
    clips.push_back(run(1.0f, 14));
    clips.push_back(run(-0.7f, 2));
    clips.push_back(runSideways(kRight));
    clips.push_back(runSideways(kLeft));
    clips.push_back(forehand());
    clips.push_back(backhand());
    clips.push_back(smash(StrokeForehandSmash, kRight));
    clips.push_back(smash(StrokeBackhandSmash, kLeft));
    clips.push_back(volley(StrokeForehandVolley, kRight));
    clips.push_back(volley(StrokeBackhandVolley, kLeft));
    clips.push_back(lob(StrokeForehandLob, kRight));
    clips.push_back(lob(StrokeBackhandLob, kLeft));
    clips.push_back(jump(StrokeForehandJump, kRight));
    clips.push_back(jump(StrokeBackhandJump, kLeft));
    clips.push_back(win());
    clips.push_back(lose());
    return clips;
}
