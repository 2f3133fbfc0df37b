#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tsukikage {

// The game folder and the one lookup every game file name goes through.
//
// Names are written the original way: components separated by backslashes (slashes are
// accepted too), optionally with a leading backslash ("\data\005.jpg", "Data\題名.jpg",
// "datafile"). Each component is matched against the real directory entries ignoring the
// letter case of ASCII and full-width Latin letters and the Unicode normalisation form of
// kana (NFC and NFD spellings match); entry names may be UTF-8 or raw CP932 bytes. An exact
// byte match is preferred, then the first match in sorted order. "." and ".." components are
// refused, so a name can never leave the game folder. A name ends at its first null
// character, as the original platform's file calls ended it. Blanks and dots at the end of the last
// component are dropped, as the original platform dropped them ("back.bmp " finds
// "back.bmp"); a last component of only blanks and dots names nothing. Directory listings,
// and what each name looked up found in them, are cached.
class GameFolder {
  public:
    explicit GameFolder(std::filesystem::path root);

    const std::filesystem::path& root() const { return root_; }

    // The existing file or folder the name refers to, or nothing.
    std::optional<std::filesystem::path> Find(std::string_view name) const;
    // As Find, without a copy of the path: it stays valid until the next lookup or write
    // through this folder.
    const std::filesystem::path* Lookup(std::string_view name) const;
    // As Find, for a name under `folder`, a folder that Find returned: many names looked up
    // in one folder find that folder once.
    std::optional<std::filesystem::path> FindUnder(const std::filesystem::path& folder,
                                                   std::string_view name) const;

    // As Find, but a name whose last component has no extension also finds "name.wav".
    std::optional<std::filesystem::path> FindSound(std::string_view name) const;

    // The path to write a file under: an existing entry that the name matches is reused
    // (so "\SAVE1.DAT" rewrites an existing "save1.dat"); otherwise the folders are matched
    // and the last component is created as written, in UTF-8. Nothing when a folder on the
    // way does not exist or the name is refused. For a new file the folder's cached listing
    // is dropped, so that the file is found once the caller has written it.
    std::optional<std::filesystem::path> PathForWriting(std::string_view name) const;

    // Drops the cached listing of one folder (after this program wrote into it), and what the
    // names looked up found.
    void Forget(const std::filesystem::path& folder) const;

  private:
    struct Entry {
        std::string key;  // comparison key: UTF-8, folded case, composed kana
        std::string raw_name;
        // The entry's full path, made the first time a lookup finds the entry: a listing
        // holds every entry of its folder, and most are never looked up.
        mutable std::optional<std::filesystem::path> path;
    };
    // A folder's entries, sorted by their names, and the folder as it was spelled when listed:
    // the entries' paths are made from it.
    struct Folder {
        std::filesystem::path path;
        std::vector<Entry> entries;
    };
    const Folder& Listing(const std::filesystem::path& folder) const;
    // The path of the entry of the folder's cached listing that the component names, or
    // none. It stays valid while the listing is cached.
    const std::filesystem::path* FindEntry(const std::filesystem::path& folder,
                                           std::string_view component) const;

    std::filesystem::path root_;
    using Entries = std::shared_ptr<const Folder>;
    // By the folder's path, lexically normal.
    mutable std::map<std::string, Entries> listings_;
    // The same listings by the folder's spelling as the lookups pass it, so that a folder
    // looked up again is found without normalising its path; emptied whenever one is dropped.
    mutable std::map<std::string, Entries, std::less<>> by_spelling_;
    // The names Find looked up and what each found, from the same listings: a name looked up
    // again (a picture shown on every pass through a part of the scenario) is answered at
    // once. Emptied whenever a listing is dropped, and when it grows large.
    mutable std::map<std::string, std::optional<std::filesystem::path>, std::less<>> found_;
};

// Splits a game file name on backslashes and slashes, dropping empty components.
std::vector<std::string> SplitGameName(std::string_view name);

// The comparison key of a file-name component (UTF-8 in, UTF-8 out): ASCII and full-width
// Latin letters folded to lower case, kana with combining (semi-)voiced sound marks composed.
std::string FileNameKey(std::string_view utf8_name);

}  // namespace tsukikage
