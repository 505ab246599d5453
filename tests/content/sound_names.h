#pragma once
// Every sound-effect name the program asks for with GetSoundFx, and what plays it. A name that
// "data\sound_fx.yml" does not define gives an empty effect that silently plays nothing, so the
// shipped file must define each of them. Add a name here when code starts looking up a new one.
// (Names that data files choose, such as a material's stroke sound or a bonus's catch sound, are
// read from those files by the content test instead.)
#include <array>
#include <string_view>

namespace content {

struct SoundNameUse {
    std::string_view name;
    std::string_view playedFor;
};

inline constexpr std::array<SoundNameUse, 23> SOUND_NAMES_USED_BY_CODE = {{
    {"kick", "kick of a normal, phantom, generative or universal ball; a ball landing on the floor"},
    {"kick_heavy", "kick of a heavy ball"},
    {"kick_fire", "kick of a fire or explosive ball"},
    {"kick_electro", "kick of an electro ball"},
    {"kick_small", "kick of a small ball"},
    {"mutation", "a ball changing its mode"},
    {"destroy_ball", "a ball or an unexploded bomb destroyed; a falling bonus lost off the table"},
    {"grenade", "a grenade exploding; an explosive ball blowing up a block"},
    {"bomb", "a bomb exploding"},
    {"lightning", "an electro ball's strike; an electro block making a ball electro"},
    {"small_ball", "a generative ball or a generator block making a small ball"},
    {"firing", "a fire block setting a ball on fire"},
    {"psshh", "a water block putting out a fire, explosive or electro ball"},
    {"heavy", "a heavy block making a ball heavy"},
    {"teleport", "a teleport block moving a ball"},
    {"wall_stroke", "a ball hitting a wall of the table"},
    {"def_stroke", "a hit on a block whose material names no stroke sound"},
    {"def_destroy", "a block breaking whose material names no destroy sound"},
    {"bonus", "a bonus caught whose record names no sound"},
    {"boomer", "the boomerang thrown"},
    {"hero_step", "the hero's footsteps"},
    {"bonus_death", "a ball lost"},
    {"game_over", "the end of the game"},
}};

} // namespace content
