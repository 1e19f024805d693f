<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>CoreText</name>
    <message>
        <source>Country of the course</source>
        <translation>Country of the course</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Start time</source>
        <translation>Start time</translation>
    </message>
    <message>
        <source>Course</source>
        <translation>Course</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Name of the race</source>
        <translation>Name of the race</translation>
    </message>
    <message>
        <source>Prize</source>
        <translation>Prize</translation>
    </message>
    <message>
        <source>Prize money to the winner</source>
        <translation>Prize money to the winner</translation>
    </message>
    <message>
        <source>Runners</source>
        <translation>Runners</translation>
    </message>
    <message>
        <source>Number of runners</source>
        <translation>Number of runners</translation>
    </message>
    <message>
        <source>Name Horse</source>
        <translation>Horse</translation>
    </message>
    <message>
        <source>Runner</source>
        <translation>Runner</translation>
    </message>
    <message>
        <source>Last Price</source>
        <translation>Last Price</translation>
    </message>
    <message>
        <source>Latest price</source>
        <translation>Latest price</translation>
    </message>
    <message>
        <source>1st Show</source>
        <translation>1st Show</translation>
    </message>
    <message>
        <source>First price shown</source>
        <translation>First price shown</translation>
    </message>
    <message>
        <source>Mov, %</source>
        <translation>Move, %</translation>
    </message>
    <message>
        <source>Price move in percent: negative shortens (green), positive drifts (red)</source>
        <translation>Price move in percent: negative shortens (green), positive drifts (red)</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source>Share of the money matched on the race</source>
        <translation>Share of the money matched on the race</translation>
    </message>
    <message>
        <source>All Sum, $</source>
        <translation>All Sum, $</translation>
    </message>
    <message>
        <source>Money matched on the race</source>
        <translation>Money matched on the race</translation>
    </message>
    <message>
        <source>Sum, $</source>
        <translation>Sum, $</translation>
    </message>
    <message>
        <source>Money matched on the runner</source>
        <translation>Money matched on the runner</translation>
    </message>
    <message>
        <source>Odd</source>
        <translation>Odds</translation>
    </message>
    <message>
        <source>Last matched price; 5000 without one</source>
        <translation>Last matched price; 5000 without one</translation>
    </message>
    <message>
        <source>St1</source>
        <translation>St1</translation>
    </message>
    <message>
        <source>Market strength over the three shortest prices</source>
        <translation>Market strength over the three shortest prices</translation>
    </message>
    <message>
        <source>St2</source>
        <translation>St2</translation>
    </message>
    <message>
        <source>Market strength over the second to fourth shortest prices</source>
        <translation>Market strength over the second to fourth shortest prices</translation>
    </message>
    <message>
        <source>Win market</source>
        <translation>Win market</translation>
    </message>
    <message>
        <source>Runner on the exchange</source>
        <translation>Runner on the exchange</translation>
    </message>
    <message>
        <source>SK</source>
        <translation>SK</translation>
    </message>
    <message>
        <source>Start Odd</source>
        <translation>Price at the start</translation>
    </message>
    <message>
        <source>&lt;%&gt;</source>
        <translation>&lt;%&gt;</translation>
    </message>
    <message>
        <source>Сдвиг</source>
        <translation>Shift</translation>
    </message>
    <message>
        <source>Place</source>
        <translation>Place</translation>
    </message>
    <message>
        <source>Place price</source>
        <translation>Place price</translation>
    </message>
    <message>
        <source>Place Sum</source>
        <translation>Place Sum</translation>
    </message>
    <message>
        <source>Money matched on the runner / on the place market</source>
        <translation>Money matched on the runner / on the place market</translation>
    </message>
    <message>
        <source>Название</source>
        <translation>Race name</translation>
    </message>
    <message>
        <source>Not used</source>
        <translation>Not used</translation>
    </message>
    <message>
        <source>DV</source>
        <translation>DV</translation>
    </message>
    <message>
        <source>Day value of today&apos;s date (red)</source>
        <translation>Day value of today&apos;s date (red)</translation>
    </message>
    <message>
        <source>FNH</source>
        <translation>FNH</translation>
    </message>
    <message>
        <source>Field number: the number of runners, reduced (green)</source>
        <translation>Field number: the number of runners, reduced (green)</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>Sum of the runners&apos; ID letters, reduced (navy)</source>
        <translation>Sum of the runners&apos; ID letters, reduced (navy)</translation>
    </message>
    <message>
        <source>VP</source>
        <translation>VP</translation>
    </message>
    <message>
        <source>Value of the race&apos;s name (purple)</source>
        <translation>Value of the race&apos;s name (purple)</translation>
    </message>
    <message>
        <source>№</source>
        <translation>№</translation>
    </message>
    <message>
        <source>Position in the sorted runner list</source>
        <translation>Position in the sorted runner list</translation>
    </message>
    <message>
        <source>Letter value of the name&apos;s first letter</source>
        <translation>Letter value of the name&apos;s first letter</translation>
    </message>
    <message>
        <source>NH</source>
        <translation>NH</translation>
    </message>
    <message>
        <source>Position, reduced to one digit</source>
        <translation>Position, reduced to one digit</translation>
    </message>
    <message>
        <source>VH</source>
        <translation>VH</translation>
    </message>
    <message>
        <source>Value of the runner&apos;s name</source>
        <translation>Value of the runner&apos;s name</translation>
    </message>
    <message>
        <source>Horse</source>
        <translation>Horse</translation>
    </message>
    <message>
        <source>Status I</source>
        <translation>Status I</translation>
    </message>
    <message>
        <source>Status of values I1-I6</source>
        <translation>Status of values I1-I6</translation>
    </message>
    <message>
        <source>Pts I</source>
        <translation>Pts I</translation>
    </message>
    <message>
        <source>Points of part I</source>
        <translation>Points of part I</translation>
    </message>
    <message>
        <source>Pts II</source>
        <translation>Pts II</translation>
    </message>
    <message>
        <source>Points of part II</source>
        <translation>Points of part II</translation>
    </message>
    <message>
        <source>Status II</source>
        <translation>Status II</translation>
    </message>
    <message>
        <source>Status of values II1-II6</source>
        <translation>Status of values II1-II6</translation>
    </message>
    <message>
        <source>Score</source>
        <translation>Score</translation>
    </message>
    <message>
        <source>Zorvat score: ? when no score line matches</source>
        <translation>Zorvat score: ? when no score line matches</translation>
    </message>
    <message>
        <source>Runner the tipsters pick</source>
        <translation>Runner the tipsters pick</translation>
    </message>
    <message>
        <source>The tipsters&apos; place for it</source>
        <translation>The tipsters&apos; place for it</translation>
    </message>
    <message>
        <source>Number 1</source>
        <translation>Number 1</translation>
    </message>
    <message>
        <source>Winner</source>
        <translation>Winner</translation>
    </message>
    <message>
        <source>Starting price of the winner</source>
        <translation>Starting price of the winner</translation>
    </message>
    <message>
        <source>Number 2</source>
        <translation>Number 2</translation>
    </message>
    <message>
        <source>Second</source>
        <translation>Second</translation>
    </message>
    <message>
        <source>Starting price of the second</source>
        <translation>Starting price of the second</translation>
    </message>
    <message>
        <source>Number 3</source>
        <translation>Number 3</translation>
    </message>
    <message>
        <source>Third</source>
        <translation>Third</translation>
    </message>
    <message>
        <source>Starting price of the third</source>
        <translation>Starting price of the third</translation>
    </message>
    <message>
        <source>Number 4</source>
        <translation>Number 4</translation>
    </message>
    <message>
        <source>Fourth</source>
        <translation>Fourth</translation>
    </message>
    <message>
        <source>Starting price of the fourth</source>
        <translation>Starting price of the fourth</translation>
    </message>
    <message>
        <source>URL</source>
        <translation>URL</translation>
    </message>
    <message>
        <source>Address of the result page</source>
        <translation>Address of the result page</translation>
    </message>
    <message>
        <source>Link</source>
        <translation>Link</translation>
    </message>
    <message>
        <source>Open the result page</source>
        <translation>Open the result page</translation>
    </message>
    <message>
        <source>Runner picked</source>
        <translation>Runner picked</translation>
    </message>
    <message>
        <source>Odds</source>
        <translation>Odds</translation>
    </message>
    <message>
        <source>Price when picked</source>
        <translation>Price when picked</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>How it was picked</source>
        <translation>How it was picked</translation>
    </message>
    <message>
        <source>Runner number; NR: a non-runner</source>
        <translation>Runner number; NR: a non-runner</translation>
    </message>
    <message>
        <source>Percent</source>
        <translation>Percent</translation>
    </message>
    <message>
        <source>Т</source>
        <translation>T</translation>
    </message>
    <message>
        <source>Тренер</source>
        <translation>Trainer</translation>
    </message>
    <message>
        <source>J</source>
        <translation>J</translation>
    </message>
    <message>
        <source>Жокей</source>
        <translation>Jockey</translation>
    </message>
    <message>
        <source>Age Wgt</source>
        <translation>Age Wgt</translation>
    </message>
    <message>
        <source>Лет Вес</source>
        <translation>Age and weight</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>Форма</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>Day</translation>
    </message>
    <message>
        <source>Days since the last run</source>
        <translation>Days since the last run</translation>
    </message>
    <message>
        <source>ТОТ</source>
        <translation>TOT</translation>
    </message>
    <message>
        <source>Tote</source>
        <translation>Tote</translation>
    </message>
    <message>
        <source>BF</source>
        <translation>BF</translation>
    </message>
    <message>
        <source>Kf</source>
        <translation>Kf</translation>
    </message>
    <message>
        <source>Текущий кф</source>
        <translation>Current price</translation>
    </message>
    <message>
        <source>Движение кф.</source>
        <translation>Price move</translation>
    </message>
    <message>
        <source>FR</source>
        <translation>FR</translation>
    </message>
    <message>
        <source>Form Rank</source>
        <translation>Form Rank</translation>
    </message>
    <message>
        <source>Win</source>
        <translation>Win</translation>
    </message>
    <message>
        <source>Ind</source>
        <translation>Ind</translation>
    </message>
    <message>
        <source>Индикаторы BF</source>
        <translation>Betfair indicators</translation>
    </message>
    <message>
        <source>TIPS</source>
        <translation>TIPS</translation>
    </message>
    <message>
        <source>Pro</source>
        <translation>Pro</translation>
    </message>
    <message>
        <source>Zorvat</source>
        <translation>Zorvat</translation>
    </message>
    <message>
        <source>Id_Market</source>
        <translation>Id_Market</translation>
    </message>
    <message>
        <source>Id_Select</source>
        <translation>Id_Select</translation>
    </message>
    <message>
        <source>OR</source>
        <translation>OR</translation>
    </message>
    <message>
        <source>Official rating</source>
        <translation>Official rating</translation>
    </message>
    <message>
        <source>TS</source>
        <translation>TS</translation>
    </message>
    <message>
        <source>Topspeed rating</source>
        <translation>Topspeed rating</translation>
    </message>
    <message>
        <source>RPR</source>
        <translation>RPR</translation>
    </message>
    <message>
        <source>Racing Post rating</source>
        <translation>Racing Post rating</translation>
    </message>
    <message>
        <source>OR2</source>
        <translation>OR2</translation>
    </message>
    <message>
        <source>Official rating against the race&apos;s mean</source>
        <translation>Official rating against the race&apos;s mean</translation>
    </message>
    <message>
        <source>TS2</source>
        <translation>TS2</translation>
    </message>
    <message>
        <source>Topspeed rating against the race&apos;s mean</source>
        <translation>Topspeed rating against the race&apos;s mean</translation>
    </message>
    <message>
        <source>RPR against the race&apos;s mean</source>
        <translation>RPR against the race&apos;s mean</translation>
    </message>
    <message>
        <source>Rank</source>
        <translation>Rank</translation>
    </message>
    <message>
        <source>The three ratings against the race&apos;s means, summed; the best in green</source>
        <translation>The three ratings against the race&apos;s means, summed; the best in green</translation>
    </message>
    <message>
        <source>Runner; greyed: a non-runner</source>
        <translation>Runner; greyed: a non-runner</translation>
    </message>
    <message>
        <source>Ratings against the race&apos;s means</source>
        <translation>Ratings against the race&apos;s means</translation>
    </message>
    <message>
        <source>BF %</source>
        <translation>BF %</translation>
    </message>
    <message>
        <source>Scalp</source>
        <translation>Scalp</translation>
    </message>
    <message>
        <source>Price move: a shortening price scores</source>
        <translation>Price move: a shortening price scores</translation>
    </message>
    <message>
        <source>Indicator</source>
        <translation>Indicator</translation>
    </message>
    <message>
        <source>100 for a runner of a strong market</source>
        <translation>100 for a runner of a strong market</translation>
    </message>
    <message>
        <source>Tips1</source>
        <translation>Tips1</translation>
    </message>
    <message>
        <source>100 for the tipsters&apos; first pick</source>
        <translation>100 for the tipsters&apos; first pick</translation>
    </message>
    <message>
        <source>Form score</source>
        <translation>Form score</translation>
    </message>
    <message>
        <source>Zorvat score as a percentage of the race&apos;s best</source>
        <translation>Zorvat score as a percentage of the race&apos;s best</translation>
    </message>
    <message>
        <source>Summa</source>
        <translation>Summa</translation>
    </message>
    <message>
        <source>Sum of the eight components</source>
        <translation>Sum of the eight components</translation>
    </message>
    <message>
        <source>The strongest runners that run</source>
        <translation>The strongest runners that run</translation>
    </message>
    <message>
        <source>Power</source>
        <translation>Power</translation>
    </message>
    <message>
        <source>Their Summa</source>
        <translation>Their Summa</translation>
    </message>
    <message>
        <source>Autorization Failed!</source>
        <translation>Authorization failed!</translation>
    </message>
    <message>
        <source>Connection failed!</source>
        <translation>Connection failed!</translation>
    </message>
    <message>
        <source>No races in today&apos;s card</source>
        <translation>No races in today&apos;s card</translation>
    </message>
    <message>
        <source>Select Please Horse</source>
        <translation>Please select a horse</translation>
    </message>
    <message>
        <source>Add to Report</source>
        <translation>Add to Report</translation>
    </message>
    <message>
        <source>Update New Version Programm Please!</source>
        <translation>Please update to the new version!</translation>
    </message>
    <message>
        <source>Обновите программу с сайта!</source>
        <translation>Download the new version from the web site!</translation>
    </message>
    <message>
        <source>Summ Betfair:</source>
        <translation>Betfair total:</translation>
    </message>
    <message>
        <source>no price matched</source>
        <translation>no price matched</translation>
    </message>
    <message>
        <source>not in the archive</source>
        <translation>not in the archive</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>Today</translation>
    </message>
    <message>
        <source>Select Course</source>
        <translation>Select Course</translation>
    </message>
    <message>
        <source>Stats Horse</source>
        <translation>Stats Horse</translation>
    </message>
    <message>
        <source>Scalp Odds</source>
        <translation>Scalp Odds</translation>
    </message>
    <message>
        <source>Indicator BF</source>
        <translation>Indicator BF</translation>
    </message>
    <message>
        <source>Tips</source>
        <translation>Tips</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>Report</translation>
    </message>
    <message>
        <source>Proof</source>
        <translation>Proof</translation>
    </message>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
    <message>
        <source>ALL TABLE</source>
        <translation>ALL TABLE</translation>
    </message>
    <message>
        <source>Count:</source>
        <translation>Count:</translation>
    </message>
    <message>
        <source>Course:</source>
        <translation>Course:</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Prize:</source>
        <translation>Prize:</translation>
    </message>
    <message>
        <source>Distance:</source>
        <translation>Distance:</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>Type:</translation>
    </message>
    <message>
        <source>I1: a value of part I, coloured by the race number it equals: DV red, FNH green, ID blue, VP purple</source>
        <translation>I1: a value of part I, coloured by the race number it equals: DV red, FNH green, ID blue, VP purple</translation>
    </message>
    <message>
        <source>I2: a value of part I, coloured by the race number it equals: DV red, FNH green, ID blue, VP purple</source>
        <translation>I2: a value of part I, coloured by the race number it equals: DV red, FNH green, ID blue, VP purple</translation>
    </message>
    <message>
        <source>I3: a value of part I, coloured by the race number it equals: DV red, FNH green, ID blue, VP purple</source>
        <translation>I3: a value of part I, coloured by the race number it equals: DV red, FNH green, ID blue, VP purple</translation>
    </message>
    <message>
        <source>I4: a value of part I, coloured by the race number it equals: DV red, FNH green, ID blue, VP purple</source>
        <translation>I4: a value of part I, coloured by the race number it equals: DV red, FNH green, ID blue, VP purple</translation>
    </message>
    <message>
        <source>I5: a value of part I, coloured by the race number it equals: DV red, FNH green, ID blue, VP purple</source>
        <translation>I5: a value of part I, coloured by the race number it equals: DV red, FNH green, ID blue, VP purple</translation>
    </message>
    <message>
        <source>I6: a value of part I, coloured by the race number it equals: DV red, FNH green, ID blue, VP purple</source>
        <translation>I6: a value of part I, coloured by the race number it equals: DV red, FNH green, ID blue, VP purple</translation>
    </message>
    <message>
        <source>II1: a value of part II, coloured by the race number it equals: DV red, FNH green, ID blue, VP purple</source>
        <translation>II1: a value of part II, coloured by the race number it equals: DV red, FNH green, ID blue, VP purple</translation>
    </message>
    <message>
        <source>II2: a value of part II, coloured by the race number it equals: DV red, FNH green, ID blue, VP purple</source>
        <translation>II2: a value of part II, coloured by the race number it equals: DV red, FNH green, ID blue, VP purple</translation>
    </message>
    <message>
        <source>II3: a value of part II, coloured by the race number it equals: DV red, FNH green, ID blue, VP purple</source>
        <translation>II3: a value of part II, coloured by the race number it equals: DV red, FNH green, ID blue, VP purple</translation>
    </message>
    <message>
        <source>II4: a value of part II, coloured by the race number it equals: DV red, FNH green, ID blue, VP purple</source>
        <translation>II4: a value of part II, coloured by the race number it equals: DV red, FNH green, ID blue, VP purple</translation>
    </message>
    <message>
        <source>II5: a value of part II, coloured by the race number it equals: DV red, FNH green, ID blue, VP purple</source>
        <translation>II5: a value of part II, coloured by the race number it equals: DV red, FNH green, ID blue, VP purple</translation>
    </message>
    <message>
        <source>II6: a value of part II, coloured by the race number it equals: DV red, FNH green, ID blue, VP purple</source>
        <translation>II6: a value of part II, coloured by the race number it equals: DV red, FNH green, ID blue, VP purple</translation>
    </message>
    <message>
        <source>Summ BF:</source>
        <translation>Betfair total:</translation>
    </message>
    <message>
        <source>not loaded</source>
        <translation>not loaded</translation>
    </message>
    <message>
        <source>exchange prices not loaded</source>
        <translation>exchange prices not loaded</translation>
    </message>
    <message>
        <source>Exchange prices</source>
        <translation>Exchange prices</translation>
    </message>
</context>
<context>
    <name>Language</name>
    <message>
        <source>As written</source>
        <translation>As written</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
</context>
<context>
    <name>Launch</name>
    <message>
        <source>Built %1 demo days with %2 picks, each day settled</source>
        <translation>Built %1 demo days with %2 picks, each day settled</translation>
    </message>
    <message>
        <source>; %1 days failed</source>
        <translation>; %1 days failed</translation>
    </message>
    <message>
        <source>; cancelled after %1 of %2 days, the days built are kept</source>
        <translation>; cancelled after %1 of %2 days, the days built are kept</translation>
    </message>
    <message>
        <source>The archive %1 is read-only: it is read, nothing is recorded</source>
        <translation>The archive %1 is read-only: it is read, nothing is recorded</translation>
    </message>
    <message>
        <source>; working without the archive</source>
        <translation>; working without the archive</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>live, the same 1 day</source>
        <translation>live, the same 1 day</translation>
    </message>
    <message>
        <source>live, the same %1 days</source>
        <translation>live, the same %1 days</translation>
    </message>
    <message>
        <source>back-test %1, cancelled: %2 of %3 days</source>
        <translation>back-test %1, cancelled: %2 of %3 days</translation>
    </message>
</context>
<context>
    <name>SessionFactory</name>
    <message>
        <source>The archive holds no day %1</source>
        <translation>The archive holds no day %1</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>%1 ignored: Trotix keeps its files in %2</source>
        <translation>%1 ignored: Trotix keeps its files in %2</translation>
    </message>
</context>
<context>
    <name>trotix::gui::AllTablePage</name>
    <message>
        <source>Course:</source>
        <translation>Course:</translation>
    </message>
    <message>
        <source>Prize: $</source>
        <translation>Prize: $</translation>
    </message>
    <message>
        <source>Summ Betfair:</source>
        <translation>Betfair total:</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Where the exchange figures of this analysis came from</source>
        <translation>Where the exchange figures of this analysis came from</translation>
    </message>
    <message>
        <source>Count:</source>
        <translation>Count:</translation>
    </message>
    <message>
        <source>Distance:</source>
        <translation>Distance:</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>Type:</translation>
    </message>
    <message>
        <source>TV Translation</source>
        <translation>Watch the race on TV</translation>
    </message>
    <message>
        <source>Go to Betfair</source>
        <translation>Go to Betfair</translation>
    </message>
    <message>
        <source>Summa</source>
        <translation>Summa</translation>
    </message>
    <message>
        <source>Chart</source>
        <translation>Chart</translation>
    </message>
    <message>
        <source>Recoming</source>
        <translation>Recoming</translation>
    </message>
</context>
<context>
    <name>trotix::gui::GuiPorts</name>
    <message>
        <source>Save as</source>
        <translation>Save as</translation>
    </message>
    <message>
        <source>Data folder</source>
        <translation>Data folder</translation>
    </message>
</context>
<context>
    <name>trotix::gui::MainWindow</name>
    <message>
        <source>Data folder: %1</source>
        <translation>Data folder: %1</translation>
    </message>
    <message>
        <source>Trotix - %1 from the archive</source>
        <translation>Trotix - %1 from the archive</translation>
    </message>
    <message>
        <source>The report is empty: nothing to save</source>
        <translation>The report is empty: nothing to save</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>Web pages (*.html *.htm)</source>
        <translation>Web pages (*.html *.htm)</translation>
    </message>
    <message>
        <source>Clear the report? Its %1 row(s) will be gone.</source>
        <translation>Clear the report? Its %1 row(s) will be gone.</translation>
    </message>
    <message>
        <source>The report has rows that are not saved. Save them before Trotix closes?</source>
        <translation>The report has rows that are not saved. Save them before Trotix closes?</translation>
    </message>
    <message>
        <source>%1 %2/%3 — %4</source>
        <translation>%1 %2/%3 — %4</translation>
    </message>
    <message>
        <source>The captions change to the language chosen at the next start</source>
        <translation>The captions change to the language chosen at the next start</translation>
    </message>
    <message>
        <source>%1 — %2</source>
        <translation>%1 — %2</translation>
    </message>
    <message>
        <source>Systems</source>
        <translation>Systems</translation>
    </message>
    <message>
        <source>Sign-out</source>
        <translation>Sign-out</translation>
    </message>
    <message>
        <source>Signed out; the report is kept</source>
        <translation>Signed out; the report is kept</translation>
    </message>
    <message>
        <source>Reload of the moves</source>
        <translation>Reload of the moves</translation>
    </message>
    <message>
        <source>Market moves reloaded at %1</source>
        <translation>Market moves reloaded at %1</translation>
    </message>
    <message>
        <source>Signed in: %1 races today</source>
        <translation>Signed in: %1 races today</translation>
    </message>
    <message>
        <source>Not signed in</source>
        <translation>Not signed in</translation>
    </message>
    <message>
        <source>Sign-in</source>
        <translation>Sign-in</translation>
    </message>
    <message>
        <source>%1: done, %2 rows in the report</source>
        <translation>%1: done, %2 rows in the report</translation>
    </message>
    <message>
        <source>Archives (*.db)</source>
        <translation>Archives (*.db)</translation>
    </message>
    <message>
        <source>The backup waits for the command under way: try again then</source>
        <translation>The backup waits for the command under way: try again then</translation>
    </message>
    <message>
        <source>The folder %1 already holds %2.

Move the files of %3 there, replacing them? &quot;No&quot; keeps the data folder %3.</source>
        <translation>The folder %1 already holds %2.

Move the files of %3 there, replacing them? &quot;No&quot; keeps the data folder %3.</translation>
    </message>
    <message>
        <source>The data folder is now %1: its files moved there</source>
        <translation>The data folder is now %1: its files moved there</translation>
    </message>
    <message>
        <source>Moving the data folder</source>
        <translation>Moving the data folder</translation>
    </message>
    <message>
        <source>The analysis</source>
        <translation>The analysis</translation>
    </message>
    <message>
        <source>Race %1 %2</source>
        <translation>Race %1 %2</translation>
    </message>
    <message>
        <source>%1: cancelled</source>
        <translation>%1: cancelled</translation>
    </message>
    <message>
        <source>Pack now</source>
        <translation>Pack now</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Later</translation>
    </message>
    <message>
        <source>Packing the archive waits for the command under way: &quot;Pack now&quot; in Settings starts it then</source>
        <translation>Packing the archive waits for the command under way: &quot;Pack now&quot; in Settings starts it then</translation>
    </message>
    <message>
        <source>Packing the archive: keeping a copy until it is checked</source>
        <translation>Packing the archive: keeping a copy until it is checked</translation>
    </message>
    <message>
        <source>Packing the archive: %1 of %2</source>
        <translation>Packing the archive: %1 of %2</translation>
    </message>
    <message>
        <source>Packing the archive: %1 of %2, checking it against the copy</source>
        <translation>Packing the archive: %1 of %2, checking it against the copy</translation>
    </message>
    <message>
        <source>Packing the archive stopped after %1 of %2, what is done is kept: &quot;Pack now&quot; goes on from there</source>
        <translation>Packing the archive stopped after %1 of %2, what is done is kept: &quot;Pack now&quot; goes on from there</translation>
    </message>
    <message>
        <source>The archive is packed and checked: %1 MB</source>
        <translation>The archive is packed and checked: %1 MB</translation>
    </message>
    <message>
        <source>The archive is packed and checked: %1 MB before, %2 MB now</source>
        <translation>The archive is packed and checked: %1 MB before, %2 MB now</translation>
    </message>
    <message>
        <source>The archive is packed and checked, but its file could not be made smaller: %1</source>
        <translation>The archive is packed and checked, but its file could not be made smaller: %1</translation>
    </message>
    <message>
        <source>Packing the archive failed: %1

The archive is used as it is; what was packed stays packed, and &quot;Pack now&quot; tries again.</source>
        <translation>Packing the archive failed: %1

The archive is used as it is; what was packed stays packed, and &quot;Pack now&quot; tries again.</translation>
    </message>
    <message>
        <source>Packing the archive failed; the archive is used as it is</source>
        <translation>Packing the archive failed; the archive is used as it is</translation>
    </message>
    <message>
        <source>Packing the archive: going on from where it stopped</source>
        <translation>Packing the archive: going on from where it stopped</translation>
    </message>
    <message>
        <source>The archive %1 takes %2 MB: an older release of Trotix stored its pages as they came. Packed, the file is several times smaller.

Packing takes a while, and other commands wait for it; Cancel stops it after the batch under way and keeps what is done, and &quot;Pack now&quot; (here at the next start, or in Settings) goes on from there. A copy of the archive is kept until the packed one is checked against it.

Pack the archive now?</source>
        <translation>The archive %1 takes %2 MB: an older release of Trotix stored its pages as they came. Packed, the file is several times smaller.

Packing takes a while, and other commands wait for it; Cancel stops it after the batch under way and keeps what is done, and &quot;Pack now&quot; (here at the next start, or in Settings) goes on from there. A copy of the archive is kept until the packed one is checked against it.

Pack the archive now?</translation>
    </message>
</context>
<context>
    <name>trotix::gui::ProgressPanel</name>
    <message>
        <source>Load data....</source>
        <translation>Loading data…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Runner pages</source>
        <translation>Runner pages</translation>
    </message>
    <message>
        <source>Races analysed</source>
        <translation>Races analysed</translation>
    </message>
</context>
<context>
    <name>trotix::gui::ProofPage</name>
    <message>
        <source>live</source>
        <translation>live</translation>
    </message>
    <message>
        <source>back-test %1</source>
        <translation>back-test %1</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>Method</source>
        <translation>Method</translation>
    </message>
    <message>
        <source>Bets</source>
        <translation>Bets</translation>
    </message>
    <message>
        <source>Won</source>
        <translation>Won</translation>
    </message>
    <message>
        <source>Strike</source>
        <translation>Strike</translation>
    </message>
    <message>
        <source>95 % interval</source>
        <translation>95 % interval</translation>
    </message>
    <message>
        <source>P/L SP</source>
        <translation>P/L SP</translation>
    </message>
    <message>
        <source>ROI SP</source>
        <translation>ROI SP</translation>
    </message>
    <message>
        <source>Priced</source>
        <translation>Priced</translation>
    </message>
    <message>
        <source>P/L Kf</source>
        <translation>P/L Kf</translation>
    </message>
    <message>
        <source>ROI Kf</source>
        <translation>ROI Kf</translation>
    </message>
    <message>
        <source>A/E</source>
        <translation>A/E</translation>
    </message>
    <message>
        <source>Placed</source>
        <translation>Placed</translation>
    </message>
    <message>
        <source>Void</source>
        <translation>Void</translation>
    </message>
    <message>
        <source>Losing run</source>
        <translation>Losing run</translation>
    </message>
    <message>
        <source>Drawdown</source>
        <translation>Drawdown</translation>
    </message>
    <message>
        <source>Luck</source>
        <translation>Luck</translation>
    </message>
    <message>
        <source>Archie p</source>
        <translation>Archie p</translation>
    </message>
    <message>
        <source>Expected run</source>
        <translation>Expected run</translation>
    </message>
    <message>
        <source>Drawdown in runs</source>
        <translation>Drawdown in runs</translation>
    </message>
    <message>
        <source>P/L SP w/o top</source>
        <translation>P/L SP w/o top</translation>
    </message>
    <message>
        <source>Top 1 %</source>
        <translation>Top 1 %</translation>
    </message>
    <message>
        <source>The live picks, or a back-test run</source>
        <translation>The live picks, or a back-test run</translation>
    </message>
    <message>
        <source>The system the pick was added under</source>
        <translation>The system the pick was added under</translation>
    </message>
    <message>
        <source>Settled picks; void ones are counted apart</source>
        <translation>Settled picks; void ones are counted apart</translation>
    </message>
    <message>
        <source>Winners</source>
        <translation>Winners</translation>
    </message>
    <message>
        <source>Winners out of the bets</source>
        <translation>Winners out of the bets</translation>
    </message>
    <message>
        <source>Where the true strike rate lies, with 95 % confidence (Wilson score interval)</source>
        <translation>Where the true strike rate lies, with 95 % confidence (Wilson score interval)</translation>
    </message>
    <message>
        <source>Profit at 1 point a bet to starting price: a winner pays SP - 1, a loser -1</source>
        <translation>Profit at 1 point a bet to starting price: a winner pays SP - 1, a loser -1</translation>
    </message>
    <message>
        <source>Profit to SP per point staked</source>
        <translation>Profit to SP per point staked</translation>
    </message>
    <message>
        <source>Bets that had an exchange price when picked</source>
        <translation>Bets that had an exchange price when picked</translation>
    </message>
    <message>
        <source>Profit at 1 point a bet at the price when picked, after %1 % commission on net winnings</source>
        <translation>Profit at 1 point a bet at the price when picked, after %1 % commission on net winnings</translation>
    </message>
    <message>
        <source>Profit at the price when picked per point staked</source>
        <translation>Profit at the price when picked per point staked</translation>
    </message>
    <message>
        <source>A/E against prices when picked: actual winners of the priced picks against those their prices expect (1 / price each); above 1 beats the market</source>
        <translation>A/E against prices when picked: actual winners of the priced picks against those their prices expect (1 / price each); above 1 beats the market</translation>
    </message>
    <message>
        <source>Bets that finished in the first three</source>
        <translation>Bets that finished in the first three</translation>
    </message>
    <message>
        <source>Void picks (non-runners, races not run), left out of every figure</source>
        <translation>Void picks (non-runners, races not run), left out of every figure</translation>
    </message>
    <message>
        <source>The longest run of losers in a row</source>
        <translation>The longest run of losers in a row</translation>
    </message>
    <message>
        <source>The deepest fall of the level-stakes bank to SP from its highest point</source>
        <translation>The deepest fall of the level-stakes bank to SP from its highest point</translation>
    </message>
    <message>
        <source>Luck: exact, against prices when picked. How often luck alone, each priced pick winning as often as its price says, makes at least this profit at the prices taken: the rarer, the less it looks like luck</source>
        <translation>Luck: exact, against prices when picked. How often luck alone, each priced pick winning as often as its price says, makes at least this profit at the prices taken: the rarer, the less it looks like luck</translation>
    </message>
    <message>
        <source>Archie against prices when picked: the chance of winners this far from those the prices expect by luck alone (chi-square, 1 degree of freedom); &quot;(few)&quot; when fewer than 5 winners were expected, too few to trust it</source>
        <translation>Archie against prices when picked: the chance of winners this far from those the prices expect by luck alone (chi-square, 1 degree of freedom); &quot;(few)&quot; when fewer than 5 winners were expected, too few to trust it</translation>
    </message>
    <message>
        <source>The longest losing run to expect at this strike rate over this many bets, beside the actual one</source>
        <translation>The longest losing run to expect at this strike rate over this many bets, beside the actual one</translation>
    </message>
    <message>
        <source>The deepest drawdown in units of the expected longest losing run: near 1 is what the strike rate alone brings</source>
        <translation>The deepest drawdown in units of the expected longest losing run: near 1 is what the strike rate alone brings</translation>
    </message>
    <message>
        <source>Profit to SP without the biggest winner: what the profit rests on one result</source>
        <translation>Profit to SP without the biggest winner: what the profit rests on one result</translation>
    </message>
    <message>
        <source>The share of the profit to SP made by the top 1 % of winners (at least one)</source>
        <translation>The share of the profit to SP made by the top 1 % of winners (at least one)</translation>
    </message>
    <message>
        <source> (few)</source>
        <translation> (few)</translation>
    </message>
    <message>
        <source>All methods</source>
        <translation>All methods</translation>
    </message>
    <message>
        <source>All courses</source>
        <translation>All courses</translation>
    </message>
    <message>
        <source>From</source>
        <translation>From</translation>
    </message>
    <message>
        <source>to</source>
        <translation>to</translation>
    </message>
    <message>
        <source>The newest back-test</source>
        <translation>The newest back-test</translation>
    </message>
    <message>
        <source>Beside the live picks:</source>
        <translation>Beside the live picks:</translation>
    </message>
    <message>
        <source>Back-test</source>
        <translation>Back-test</translation>
    </message>
    <message>
        <source>Replay every stored day of the range from the archive, run Best Rank and Best Recoming on it and settle the picks from the results stored; nothing goes to the network</source>
        <translation>Replay every stored day of the range from the archive, run Best Rank and Best Recoming on it and settle the picks from the results stored; nothing goes to the network</translation>
    </message>
    <message>
        <source>The figures again, split by one trait of the picks (the Breakdown tab)</source>
        <translation>The figures again, split by one trait of the picks (the Breakdown tab)</translation>
    </message>
    <message>
        <source>No breakdown</source>
        <translation>No breakdown</translation>
    </message>
    <message>
        <source>By price when picked</source>
        <translation>By price when picked</translation>
    </message>
    <message>
        <source>By course</source>
        <translation>By course</translation>
    </message>
    <message>
        <source>By month</source>
        <translation>By month</translation>
    </message>
    <message>
        <source>By race class</source>
        <translation>By race class</translation>
    </message>
    <message>
        <source>By field size</source>
        <translation>By field size</translation>
    </message>
    <message>
        <source>The stakes the bank curve is drawn for, every bet settled to SP</source>
        <translation>The stakes the bank curve is drawn for, every bet settled to SP</translation>
    </message>
    <message>
        <source>Level stakes: 1 point</source>
        <translation>Level stakes: 1 point</translation>
    </message>
    <message>
        <source>2 % of a 100-point bank</source>
        <translation>2 % of a 100-point bank</translation>
    </message>
    <message>
        <source>To win 1 point</source>
        <translation>To win 1 point</translation>
    </message>
    <message>
        <source>Every pick made, withdrawn and settled is an event hashed over the one before it: a record changed after the fact no longer matches its hashes</source>
        <translation>Every pick made, withdrawn and settled is an event hashed over the one before it: a record changed after the fact no longer matches its hashes</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Write the record as trotix-record.jsonl in the data folder, one event a line, for anyone to check</source>
        <translation>Write the record as trotix-record.jsonl in the data folder, one event a line, for anyone to check</translation>
    </message>
    <message>
        <source>Digest</source>
        <translation>Digest</translation>
    </message>
    <message>
        <source>The hash of the record before today&apos;s first race: publish it before racing, and anyone given the export later can see the picks were made before the off</source>
        <translation>The hash of the record before today&apos;s first race: publish it before racing, and anyone given the export later can see the picks were made before the off</translation>
    </message>
    <message>
        <source>A/E, Archie and luck are taken against the prices when picked, over the picks that had one (luck: exact); P/L SP, runs and drawdown over every settled pick, to starting price.</source>
        <translation>A/E, Archie and luck are taken against the prices when picked, over the picks that had one (luck: exact); P/L SP, runs and drawdown over every settled pick, to starting price.</translation>
    </message>
    <message>
        <source>Bank curve</source>
        <translation>Bank curve</translation>
    </message>
    <message>
        <source>Double-click a method to list its picks</source>
        <translation>Double-click a method to list its picks</translation>
    </message>
    <message>
        <source>Export CSV</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <source>Write this list as CSV in the data folder</source>
        <translation>Write this list as CSV in the data folder</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Course</source>
        <translation>Course</translation>
    </message>
    <message>
        <source>Runner</source>
        <translation>Runner</translation>
    </message>
    <message>
        <source>Price</source>
        <translation>Price</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>SP</source>
        <translation>SP</translation>
    </message>
    <message>
        <source>Profit</source>
        <translation>Profit</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>Total</translation>
    </message>
    <message>
        <source>The exchange price when picked</source>
        <translation>The exchange price when picked</translation>
    </message>
    <message>
        <source>Starting price</source>
        <translation>Starting price</translation>
    </message>
    <message>
        <source>At 1 point to SP; a void pick is 0</source>
        <translation>At 1 point to SP; a void pick is 0</translation>
    </message>
    <message>
        <source>The running total</source>
        <translation>The running total</translation>
    </message>
    <message>
        <source>Picks</source>
        <translation>Picks</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>Group</translation>
    </message>
    <message>
        <source>The breakdown&apos;s group: price when picked, course, month, race class or field size (from the day&apos;s stored card)</source>
        <translation>The breakdown&apos;s group: price when picked, course, month, race class or field size (from the day&apos;s stored card)</translation>
    </message>
    <message>
        <source>Settled picks</source>
        <translation>Settled picks</translation>
    </message>
    <message>
        <source>At 1 point a bet to SP</source>
        <translation>At 1 point a bet to SP</translation>
    </message>
    <message>
        <source>Picks with a price</source>
        <translation>Picks with a price</translation>
    </message>
    <message>
        <source>At the price when picked, after commission</source>
        <translation>At the price when picked, after commission</translation>
    </message>
    <message>
        <source>A/E against prices when picked</source>
        <translation>A/E against prices when picked</translation>
    </message>
    <message>
        <source>Archie against prices when picked</source>
        <translation>Archie against prices when picked</translation>
    </message>
    <message>
        <source>Luck: exact, against prices when picked</source>
        <translation>Luck: exact, against prices when picked</translation>
    </message>
    <message>
        <source>Breakdown</source>
        <translation>Breakdown</translation>
    </message>
    <message>
        <source>No back-test</source>
        <translation>No back-test</translation>
    </message>
    <message>
        <source>Back-test %1: %2 – %3, %4 picks</source>
        <translation>Back-test %1: %2 – %3, %4 picks</translation>
    </message>
    <message>
        <source>No settled picks match the filters.</source>
        <translation>No settled picks match the filters.</translation>
    </message>
    <message>
        <source>No picks yet: &quot;Best Rank&quot;, &quot;Best Recoming&quot; and a double-click on a runner add them on &quot;Report&quot;, and &quot;Settle&quot; settles them.</source>
        <translation>No picks yet: &quot;Best Rank&quot;, &quot;Best Recoming&quot; and a double-click on a runner add them on &quot;Report&quot;, and &quot;Settle&quot; settles them.</translation>
    </message>
    <message>
        <source>%1 (%2): %3 winners from %4 bets, %5. With 95 % confidence its true strike rate lies between %6 and %7.</source>
        <translation>%1 (%2): %3 winners from %4 bets, %5. With 95 % confidence its true strike rate lies between %6 and %7.</translation>
    </message>
    <message>
        <source> Luck alone would make its profit at the prices taken %1 times.</source>
        <translation> Luck alone would make its profit at the prices taken %1 times.</translation>
    </message>
    <message>
        <source> Luck alone would do as well at the prices taken almost every time.</source>
        <translation> Luck alone would do as well at the prices taken almost every time.</translation>
    </message>
    <message>
        <source> %1 picks not yet settled are left out.</source>
        <translation> %1 picks not yet settled are left out.</translation>
    </message>
    <message>
        <source>day picked</source>
        <translation>day picked</translation>
    </message>
    <message>
        <source>level stakes of 1 point</source>
        <translation>level stakes of 1 point</translation>
    </message>
    <message>
        <source>stakes to win 1 point</source>
        <translation>stakes to win 1 point</translation>
    </message>
    <message>
        <source>points to SP, %1</source>
        <translation>points to SP, %1</translation>
    </message>
    <message>
        <source>, drawdown</source>
        <translation>, drawdown</translation>
    </message>
    <message>
        <source>%1, %2: %3 settled picks, %4 points at SP</source>
        <translation>%1, %2: %3 settled picks, %4 points at SP</translation>
    </message>
    <message>
        <source>, %1 pending</source>
        <translation>, %1 pending</translation>
    </message>
    <message>
        <source>, cancelled: %1 of %2 days</source>
        <translation>, cancelled: %1 of %2 days</translation>
    </message>
</context>
<context>
    <name>trotix::gui::ReportPage</name>
    <message>
        <source>From Real Odds</source>
        <translation>From Real Odds</translation>
    </message>
    <message>
        <source>Best Recoming</source>
        <translation>Best Recoming</translation>
    </message>
    <message>
        <source>Best Rank</source>
        <translation>Best Rank</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Export CSV</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <source>Write the report as report.html in the data folder (Ctrl+S)</source>
        <translation>Write the report as report.html in the data folder (Ctrl+S)</translation>
    </message>
    <message>
        <source>Write the report as report.csv in the data folder</source>
        <translation>Write the report as report.csv in the data folder</translation>
    </message>
    <message>
        <source>Save as…</source>
        <translation>Save as…</translation>
    </message>
    <message>
        <source>Write the report as HTML where you choose</source>
        <translation>Write the report as HTML where you choose</translation>
    </message>
    <message>
        <source>CSV as…</source>
        <translation>CSV as…</translation>
    </message>
    <message>
        <source>Write the report as CSV where you choose</source>
        <translation>Write the report as CSV where you choose</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Empty the report; the ledger keeps its picks</source>
        <translation>Empty the report; the ledger keeps its picks</translation>
    </message>
    <message>
        <source>Settle</source>
        <translation>Settle</translation>
    </message>
    <message>
        <source>Fetch the results of every day with open picks and settle them</source>
        <translation>Fetch the results of every day with open picks and settle them</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Run systems</source>
        <translation>Run systems</translation>
    </message>
    <message>
        <source>Every saved system over today&apos;s races: its picks to the report and the record</source>
        <translation>Every saved system over today&apos;s races: its picks to the report and the record</translation>
    </message>
</context>
<context>
    <name>trotix::gui::ResultPage</name>
    <message>
        <source>Date:</source>
        <translation>Date:</translation>
    </message>
    <message>
        <source>LOAD</source>
        <translation>LOAD</translation>
    </message>
    <message>
        <source>No Information</source>
        <translation>No Information</translation>
    </message>
    <message>
        <source>please try again later ...</source>
        <translation>please try again later…</translation>
    </message>
</context>
<context>
    <name>trotix::gui::ScalpOddsPage</name>
    <message>
        <source>Обновить</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>Load the market moves afresh</source>
        <translation>Load the market moves afresh</translation>
    </message>
</context>
<context>
    <name>trotix::gui::SettingsDialog</name>
    <message>
        <source>Data server:</source>
        <translation>Data server:</translation>
    </message>
    <message>
        <source>Web site:</source>
        <translation>Web site:</translation>
    </message>
    <message>
        <source>Exchange runner pages:</source>
        <translation>Exchange runner pages:</translation>
    </message>
    <message>
        <source>Exchange market pages:</source>
        <translation>Exchange market pages:</translation>
    </message>
    <message>
        <source>Video player:</source>
        <translation>Video player:</translation>
    </message>
    <message>
        <source>Trotix settings</source>
        <translation>Trotix settings</translation>
    </message>
    <message>
        <source>Requests at once; 1 makes them one after another</source>
        <translation>Requests at once; 1 makes them one after another</translation>
    </message>
    <message>
        <source>Connections at once:</source>
        <translation>Connections at once:</translation>
    </message>
    <message>
        <source>connections</source>
        <translation>connections</translation>
    </message>
    <message>
        <source>Browse…</source>
        <translation>Browse…</translation>
    </message>
    <message>
        <source>Data folder:</source>
        <translation>Data folder:</translation>
    </message>
    <message>
        <source>data folder</source>
        <translation>data folder</translation>
    </message>
    <message>
        <source> min</source>
        <translation> min</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>Reload the market moves of &quot;Scalp Odds&quot; this often</source>
        <translation>Reload the market moves of &quot;Scalp Odds&quot; this often</translation>
    </message>
    <message>
        <source>Refresh moves every:</source>
        <translation>Refresh moves every:</translation>
    </message>
    <message>
        <source>Taken from net winnings in the Proof page&apos;s profit at the price when picked</source>
        <translation>Taken from net winnings in the Proof page&apos;s profit at the price when picked</translation>
    </message>
    <message>
        <source>Commission on winnings:</source>
        <translation>Commission on winnings:</translation>
    </message>
    <message>
        <source> (Moscow)</source>
        <translation> (Moscow)</translation>
    </message>
    <message>
        <source>The zone of the vendor&apos;s race times: a pick made at or after its race&apos;s off is late and kept out of the Proof page&apos;s figures</source>
        <translation>The zone of the vendor&apos;s race times: a pick made at or after its race&apos;s off is late and kept out of the Proof page&apos;s figures</translation>
    </message>
    <message>
        <source>Race times are in:</source>
        <translation>Race times are in:</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>None</source>
        <translation>None</translation>
    </message>
    <message>
        <source>How long one command, or one race of a long run, may wait on the servers</source>
        <translation>How long one command, or one race of a long run, may wait on the servers</translation>
    </message>
    <message>
        <source>Give up a command after:</source>
        <translation>Give up a command after:</translation>
    </message>
    <message>
        <source>deadline</source>
        <translation>deadline</translation>
    </message>
    <message>
        <source>Keep each day&apos;s answers in the archive</source>
        <translation>Keep each day&apos;s answers in the archive</translation>
    </message>
    <message>
        <source>A kept day can be replayed offline; the picks are kept either way</source>
        <translation>A kept day can be replayed offline; the picks are kept either way</translation>
    </message>
    <message>
        <source>Archive:</source>
        <translation>Archive:</translation>
    </message>
    <message>
        <source>The window&apos;s captions; a change shows at the next start</source>
        <translation>The window&apos;s captions; a change shows at the next start</translation>
    </message>
    <message>
        <source>Language:</source>
        <translation>Language:</translation>
    </message>
    <message>
        <source>language</source>
        <translation>language</translation>
    </message>
    <message>
        <source>For this run the command line or a TROTIX_… variable sets the %1: the fields show the values in force. A value changed here is kept for the next runs.</source>
        <translation>For this run the command line or a TROTIX_… variable sets the %1: the fields show the values in force. A value changed here is kept for the next runs.</translation>
    </message>
    <message>
        <source>Set for this run by the command line or a TROTIX_… variable; kept: %1</source>
        <translation>Set for this run by the command line or a TROTIX_… variable; kept: %1</translation>
    </message>
    <message>
        <source>Archive file: %1 MB</source>
        <translation>Archive file: %1 MB</translation>
    </message>
    <message>
        <source>Back up…</source>
        <translation>Back up…</translation>
    </message>
    <message>
        <source>Copy the archive to a file of your choice while Trotix goes on</source>
        <translation>Copy the archive to a file of your choice while Trotix goes on</translation>
    </message>
    <message>
        <source>Pack the pages an older release stored as they came; Stop keeps what is done for the next &quot;Pack now&quot;</source>
        <translation>Pack the pages an older release stored as they came; Stop keeps what is done for the next &quot;Pack now&quot;</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Pack now</source>
        <translation>Pack now</translation>
    </message>
</context>
<context>
    <name>trotix::gui::SignInPage</name>
    <message>
        <source>Race-day analysis for exchange bettors</source>
        <translation>Race-day analysis for exchange bettors</translation>
    </message>
    <message>
        <source>LOGIN:</source>
        <translation>LOGIN:</translation>
    </message>
    <message>
        <source>PASSWORD:</source>
        <translation>PASSWORD:</translation>
    </message>
    <message>
        <source>Remember me</source>
        <translation>Remember me</translation>
    </message>
    <message>
        <source>ВХОД</source>
        <translation>Sign in</translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation>Settings…</translation>
    </message>
    <message>
        <source>Servers, data folder, connections</source>
        <translation>Servers, data folder, connections</translation>
    </message>
    <message>
        <source>VERSION: %1</source>
        <translation>VERSION: %1</translation>
    </message>
    <message>
        <source>STORED DAYS:</source>
        <translation>STORED DAYS:</translation>
    </message>
    <message>
        <source>Replay</source>
        <translation>Replay</translation>
    </message>
    <message>
        <source>Open the stored day offline, as it was seen</source>
        <translation>Open the stored day offline, as it was seen</translation>
    </message>
    <message>
        <source>Keep today&apos;s answers in the archive</source>
        <translation>Keep today&apos;s answers in the archive</translation>
    </message>
    <message>
        <source>Build 30 demo days</source>
        <translation>Build 30 demo days</translation>
    </message>
    <message>
        <source>Past demo days, each signed in, analysed, picked and settled</source>
        <translation>Past demo days, each signed in, analysed, picked and settled</translation>
    </message>
</context>
<context>
    <name>trotix::gui::SummaChart</name>
    <message>
        <source>%1
%2: %3
Summa: %4</source>
        <translation>%1
%2: %3
Summa: %4</translation>
    </message>
    <message>
        <source> (NR)</source>
        <translation> (NR)</translation>
    </message>
</context>
<context>
    <name>trotix::gui::SystemsPage</name>
    <message>
        <source>A saved system to edit; each version keeps its own live record</source>
        <translation>A saved system to edit; each version keeps its own live record</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Keep the system under this name; changed after it has live picks, it is saved as the next version</source>
        <translation>Keep the system under this name; changed after it has live picks, it is saved as the next version</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>Give the chosen system this name (only while it has no live picks)</source>
        <translation>Give the chosen system this name (only while it has no live picks)</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Delete the chosen system; its live picks stay in the record</source>
        <translation>Delete the chosen system; its live picks stay in the record</translation>
    </message>
    <message>
        <source>Weights</source>
        <translation>Weights</translation>
    </message>
    <message>
        <source>Race</source>
        <translation>Race</translation>
    </message>
    <message>
        <source>every course; or Ascot, Kempton</source>
        <translation>every course; or Ascot, Kempton</translation>
    </message>
    <message>
        <source>every class; or Class 2, Class 3</source>
        <translation>every class; or Class 2, Class 3</translation>
    </message>
    <message>
        <source>Courses</source>
        <translation>Courses</translation>
    </message>
    <message>
        <source>Classes</source>
        <translation>Classes</translation>
    </message>
    <message>
        <source>to</source>
        <translation>to</translation>
    </message>
    <message>
        <source>Runners</source>
        <translation>Runners</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>Runner and selection</source>
        <translation>Runner and selection</translation>
    </message>
    <message>
        <source>Price when picked</source>
        <translation>Price when picked</translation>
    </message>
    <message>
        <source>Top</source>
        <translation>Top</translation>
    </message>
    <message>
        <source>Sum at least</source>
        <translation>Sum at least</translation>
    </message>
    <message>
        <source>Leader by at least</source>
        <translation>Leader by at least</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>The figures before this day (in-sample) beside those from it on (out-of-sample)</source>
        <translation>The figures before this day (in-sample) beside those from it on (out-of-sample)</translation>
    </message>
    <message>
        <source>From</source>
        <translation>From</translation>
    </message>
    <message>
        <source>Split at</source>
        <translation>Split at</translation>
    </message>
    <message>
        <source>Whole</source>
        <translation>Whole</translation>
    </message>
    <message>
        <source>In-sample</source>
        <translation>In-sample</translation>
    </message>
    <message>
        <source>Out-of-sample</source>
        <translation>Out-of-sample</translation>
    </message>
    <message>
        <source>At 1-point level stakes; Kf is the price when picked</source>
        <translation>At 1-point level stakes; Kf is the price when picked</translation>
    </message>
    <message>
        <source>Replay stored days</source>
        <translation>Replay stored days</translation>
    </message>
    <message>
        <source>Replay the stored days analysed before runners were kept, once</source>
        <translation>Replay the stored days analysed before runners were kept, once</translation>
    </message>
    <message>
        <source>(new)</source>
        <translation>(new)</translation>
    </message>
    <message>
        <source> — %1 live picks</source>
        <translation> — %1 live picks</translation>
    </message>
    <message>
        <source>%1 analysed races stored</source>
        <translation>%1 analysed races stored</translation>
    </message>
    <message>
        <source>; %1 stored days analysed before runners were kept</source>
        <translation>; %1 stored days analysed before runners were kept</translation>
    </message>
</context>
<context>
    <name>trotix::gui::TodayPage</name>
    <message>
        <source>Count: 0</source>
        <translation>Count: 0</translation>
    </message>
</context>
<context>
    <name>trotix::gui::WindowFrame</name>
    <message>
        <source>Open folder</source>
        <translation>Open folder</translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation>Settings…</translation>
    </message>
    <message>
        <source>Sign out</source>
        <translation>Sign out</translation>
    </message>
    <message>
        <source>Back to the sign-in page; the report stays</source>
        <translation>Back to the sign-in page; the report stays</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Show Trotix</source>
        <translation>Show Trotix</translation>
    </message>
    <message>
        <source>Saved %1</source>
        <translation>Saved %1</translation>
    </message>
</context>
</TS>
