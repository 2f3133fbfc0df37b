# The core tests left out of the WebAssembly run, as GoogleTest filter patterns, each with why.
set(NATIVE_ONLY_TESTS
    # The checker's tests start from the demo that the generator program writes (Qt decodes
    # and encodes its pictures).
    ScenarioCheckTest.*
    # The demo generator's own output, written by running it.
    DemoFolderTest.*
    # A writer killed in the middle of a write: the test forks children and kills them.
    RecordCrashTest.*
    PictureTest.RecordSurvivesAWriteThatDiesHalfWay
    # A full disk simulated by a file-size limit in a child process; a temporary left by a
    # writer process that has ended.
    SaveLoadTest.ASaveThatCannotBeWrittenKeepsTheOldSlot
    TextFileOnDisk.ReplaceFileRemovesOnlyTheTemporariesOfDeadWriters
    # Names of raw CP932 bytes on disk: the browser's file systems hold names as Unicode
    # text, so no such name exists there.
    GameFolderTest.MatchesRawCp932NamesAndMixedCaseFolders
    Damages/BadFolderTest.PlayerSees/NameInRawCp932OnDisk
    # A sparse scenario of 2 GB and a named pipe: neither can exist in the in-memory file
    # system (WebAssembly's memory is smaller than the file).
    Damages/BadFolderTest.PlayerSees/ScenarioOfTwoGigabytes
    Damages/BadFolderTest.PlayerSees/ScenarioThatIsAPipe
    # A picture file of 256 MB: the in-memory file system would hold all of it.
    PictureFile.RefusesAFileLargerThanAnyPicture
)
